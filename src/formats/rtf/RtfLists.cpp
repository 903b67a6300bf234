// Lists as Word and LibreOffice write them: a list table in the header gives each list's
// level formats, an override table gives each list the \ls number its paragraphs carry,
// and every item names its list by \ls and its nesting by \ilvl.

#include "formats/rtf/RtfReader.h"

#include <algorithm>

namespace formats::rtf::detail {

namespace {

// \levelnfc: 0 decimal, 1 upper roman, 2 lower roman, 3 upper letter, 4 lower letter,
// 22 decimal with a leading zero; the rest (23 bullet, picture bullets, none, the many
// national numberings) show as a bullet.
uint8_t kindForNfc(int32_t nfc)
{
    switch (nfc) {
    case 0: case 22: return ListDecimal;
    case 1: return ListUpperRoman;
    case 2: return ListLowerRoman;
    case 3: return ListUpperAlpha;
    case 4: return ListLowerAlpha;
    default: return ListBullet;
    }
}

} // namespace

void Reader::listWord(int32_t which, const Word &w)
{
    State &s = st();
    const int32_t v = w.hasParam ? w.param : 0;
    switch (which) {
    case LwTable:
    case LwOverrides:
        if (s.dest != Dest::Text) {
            skipGroup();
            return;
        }
        flushPending();
        s.dest = which == LwTable ? Dest::ListTable : Dest::ListOverrides;
        listOpen_ = levelOpen_ = false;
        return;
    case LwList:
        if (s.dest != Dest::ListTable)
            return;
        listOpen_ = listDefs_.size() < MaxListEntries;
        levelOpen_ = false;
        if (listOpen_)
            listDefs_.emplace_back();
        return;
    case LwLevel:
        if (s.dest != Dest::ListTable || !listOpen_)
            return;
        levelOpen_ = listDefs_.back().levels.size() < size_t(MaxListLevels);
        if (levelOpen_)
            listDefs_.back().levels.push_back(ListDecimal); // a level without \levelnfc is decimal
        return;
    case LwFormat:
        if (s.dest == Dest::ListTable && listOpen_ && levelOpen_)
            listDefs_.back().levels.back() = kindForNfc(v);
        return;
    case LwId:
        if (s.dest == Dest::ListTable && listOpen_) {
            if (listIndex_.size() < MaxListEntries || listIndex_.count(v))
                listIndex_[v] = listDefs_.size() - 1;
        } else if (s.dest == Dest::ListOverrides) {
            overrideList_ = v;
            if (overrideLs_ != 0 && listOverrides_.count(overrideLs_))
                listOverrides_[overrideLs_] = v;
        }
        return;
    case LwOverride:
        if (s.dest == Dest::ListOverrides)
            overrideList_ = overrideLs_ = 0;
        return;
    case LwLs:
        if (s.dest == Dest::Text) {
            s.para.ls = std::max(v, 0);
        } else if (s.dest == Dest::ListOverrides && v != 0) {
            overrideLs_ = v;
            if (listOverrides_.size() < MaxListEntries || listOverrides_.count(v))
                listOverrides_[v] = overrideList_;
        }
        return;
    case LwLevelOf:
        if (s.dest == Dest::Text)
            s.para.level = uint8_t(std::clamp(v, 0, MaxListLevels - 1));
        return;
    default:
        return;
    }
}

// A paragraph whose \ls names a list becomes an item of it; one whose \ls names nothing
// stays a plain paragraph (or the \pn list it may also carry).
void Reader::resolveList(ParaProps &props) const
{
    if (props.ls > 0) {
        const auto over = listOverrides_.find(props.ls);
        const auto def = over == listOverrides_.end() ? listIndex_.end() : listIndex_.find(over->second);
        if (def != listIndex_.end()) {
            const std::vector<uint8_t> &levels = listDefs_[def->second].levels;
            props.list = props.level < levels.size() ? levels[props.level] : uint8_t(ListBullet);
            return;
        }
    }
    props.ls = 0;
    props.level = 0;
}

} // namespace formats::rtf::detail
