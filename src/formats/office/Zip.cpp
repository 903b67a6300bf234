#include "formats/office/Zip.h"

#include "formats/Limits.h"

#include <zip.h>

namespace formats::office::zip {

namespace {

struct ArchiveDeleter {
    void operator()(zip_t *z) const { zip_discard(z); }
};
struct FileDeleter {
    void operator()(zip_file_t *f) const { zip_fclose(f); }
};
struct SourceDeleter {
    void operator()(zip_source_t *s) const { zip_source_free(s); }
};
using ArchivePtr = std::unique_ptr<zip_t, ArchiveDeleter>;
using FilePtr = std::unique_ptr<zip_file_t, FileDeleter>;
using SourcePtr = std::unique_ptr<zip_source_t, SourceDeleter>;

// A fixed time keeps the same document's file the same bytes.
constexpr time_t kEntryTime = 1262304000; // 2010-01-01

QByteArray sourceBytes(zip_source_t *src)
{
    if (zip_source_open(src) < 0)
        return {};
    QByteArray out;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(src, &st) == 0 && (st.valid & ZIP_STAT_SIZE) && st.size < (zip_uint64_t(1) << 31)) {
        out.resize(qsizetype(st.size));
        if (zip_source_read(src, out.data(), st.size) != zip_int64_t(st.size))
            out.clear();
    }
    zip_source_close(src);
    return out;
}

} // namespace

QString brokenArchive() { return QStringLiteral("The file is damaged: its zip archive cannot be read."); }
QString encryptedEntry() { return QStringLiteral("The file is encrypted (protected by a password)."); }
QString entryTooLarge()
{
    return QStringLiteral("The file unpacks to far more than a document holds (it may be a zip bomb).");
}

QString tooManyEntries()
{
    return QStringLiteral("The file holds more than %1 parts, far more than any document, so it cannot be read.")
        .arg(MaxZipEntries);
}

QByteArray write(const std::vector<Entry> &entries)
{
    zip_error_t error;
    zip_error_init(&error);
    const SourcePtr src(zip_source_buffer_create(nullptr, 0, 0, &error));
    zip_error_fini(&error);
    if (!src)
        return {};
    zip_error_init(&error);
    zip_t *raw = zip_open_from_source(src.get(), ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!raw)
        return {};
    zip_source_keep(src.get()); // the archive frees its reference on close; ours stays
    ArchivePtr archive(raw);
    for (const Entry &e : entries) {
        // Copied by libzip (freep 0 means the bytes must outlive the archive, which
        // `entries` does until zip_close below).
        zip_source_t *data = zip_source_buffer(archive.get(), e.data.constData(), zip_uint64_t(e.data.size()), 0);
        if (!data)
            return {};
        const zip_int64_t index = zip_file_add(archive.get(), e.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(data);
            return {};
        }
        zip_set_file_compression(archive.get(), zip_uint64_t(index), e.stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
        zip_file_set_mtime(archive.get(), zip_uint64_t(index), kEntryTime, 0);
    }
    if (zip_close(archive.get()) < 0)
        return {};
    archive.release(); // closed, and so freed
    return sourceBytes(src.get());
}

struct Archive::Impl {
    QByteArray bytes; // the archive reads from these
    SourcePtr source;
    ArchivePtr archive;
};

Archive::Archive() = default;
Archive::~Archive() = default;
Archive::Archive(Archive &&) noexcept = default;
Archive &Archive::operator=(Archive &&) noexcept = default;

Result Archive::open(const QByteArray &bytes)
{
    m.reset();
    m_names.clear();
    m_inflated = 0;
    auto impl = std::make_unique<Impl>();
    impl->bytes = bytes;
    zip_error_t error;
    zip_error_init(&error);
    impl->source.reset(zip_source_buffer_create(impl->bytes.constData(), zip_uint64_t(impl->bytes.size()), 0, &error));
    if (impl->source) {
        // The archive takes the source on success; a failed open leaves it to us.
        if (zip_t *z = zip_open_from_source(impl->source.get(), ZIP_RDONLY | ZIP_CHECKCONS, &error)) {
            zip_source_keep(impl->source.get());
            impl->archive.reset(z);
        }
    }
    zip_error_fini(&error);
    if (!impl->archive)
        return Result::failed(brokenArchive());
    const zip_int64_t count = zip_get_num_entries(impl->archive.get(), 0);
    if (count < 0)
        return Result::failed(brokenArchive());
    if (count > MaxZipEntries)
        return Result::failed(tooManyEntries());
    for (zip_int64_t i = 0; i < count; ++i) {
        const char *name = zip_get_name(impl->archive.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        m_names << (name ? QString::fromUtf8(name) : QString());
    }
    m = std::move(impl);
    return {};
}

Result Archive::read(const QString &name, qint64 maxBytes, QByteArray &out) const
{
    out.clear();
    if (!m)
        return Result::failed(brokenArchive());
    const qsizetype index = m_names.indexOf(name);
    if (index < 0)
        return Result::failed(brokenArchive());
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m->archive.get(), zip_uint64_t(index), 0, &st) < 0)
        return Result::failed(brokenArchive());
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        return Result::failed(encryptedEntry());
    // The parts read so far count against what the whole file may inflate to.
    maxBytes = std::min(maxBytes, MaxInflatedBytes - m_inflated);
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(maxBytes))
        return Result::failed(entryTooLarge());
    const FilePtr file(zip_fopen_index(m->archive.get(), zip_uint64_t(index), 0));
    if (!file)
        return Result::failed(brokenArchive());
    // The declared size is not trusted: at most one byte past the limit is inflated. It
    // only sizes the buffer, whose pages cost nothing until written.
    QByteArray data;
    if (st.valid & ZIP_STAT_SIZE)
        data.resize(qsizetype(st.size) + 1);
    qint64 total = 0;
    for (;;) {
        if (total == data.size())
            data.resize(qsizetype(std::min<qint64>(std::max<qint64>(total * 2, 65536), maxBytes + 1)));
        if (total == data.size())
            return Result::failed(entryTooLarge());
        const zip_int64_t n = zip_fread(file.get(), data.data() + total, zip_uint64_t(data.size() - total));
        if (n < 0)
            return Result::failed(brokenArchive());
        if (n == 0)
            break;
        total += n;
    }
    data.resize(qsizetype(total));
    m_inflated += total;
    out = std::move(data);
    return {};
}

} // namespace formats::office::zip
