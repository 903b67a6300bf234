#pragma once

// Zip archives in memory, as Word and OpenDocument files are: written whole from a list
// of entries, and read entry by entry within hard limits, since an archive that declares
// a few bytes can inflate to gigabytes.

#include "formats/Result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace formats::office::zip {

struct Entry {
    QString name;
    QByteArray data;
    bool stored = false; // uncompressed, as OpenDocument's first entry "mimetype" must be
};

// The archive's bytes with the entries in this order; empty when it cannot be built.
QByteArray write(const std::vector<Entry> &entries);

class Archive {
public:
    Archive();
    ~Archive();
    Archive(Archive &&) noexcept;
    Archive &operator=(Archive &&) noexcept;

    // Opens the archive in the bytes: a broken central directory, too many entries or
    // anything that is no zip fail with a reason.
    Result open(const QByteArray &bytes);
    // The entries' names, in the archive's order.
    const QStringList &names() const { return m_names; }
    bool contains(const QString &name) const { return m_names.contains(name); }
    // The entry's inflated bytes, at most maxBytes of them, and at most what is left of
    // MaxInflatedBytes for all entries read together: an entry that is encrypted,
    // missing, larger, or whose data do not match its checksum fails with a reason.
    Result read(const QString &name, qint64 maxBytes, QByteArray &out) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
    QStringList m_names;
    mutable qint64 m_inflated = 0; // by the reads so far: the file's budget, not its content
};

// The reasons, for the tests and the callers that add the file's name.
QString brokenArchive();
QString encryptedEntry();
QString entryTooLarge();
QString tooManyEntries();

} // namespace formats::office::zip
