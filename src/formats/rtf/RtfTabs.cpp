// Tab stops: each \txN adds a stop, with the alignment and leader named before it, to the
// paragraph's set. The sets are kept once each, as the paragraph formats are, and the
// build turns them into the block's tab positions (RtfBuild.cpp).

#include "formats/rtf/RtfReader.h"

#include <algorithm>

namespace formats::rtf::detail {

void Reader::tabWord(int32_t which, const Word &w)
{
    State &s = st();
    switch (which) {
    case TwRight:
    case TwCenter:
    case TwDecimal: s.tabAlign = uint8_t(which); return;
    case TwDots:
    case TwHyphens:
    case TwLine:
    case TwDoubleLine: s.tabLeader = uint8_t(which); return;
    case TwBar: // a vertical line the document cannot draw; its alignment and leader go with it
        s.tabAlign = s.tabLeader = 0;
        return;
    default: break;
    }
    const TabStop stop{std::clamp(w.param, 0, MaxTwips), s.tabAlign, s.tabLeader};
    s.tabAlign = s.tabLeader = 0;
    if (tabSets_[s.para.tabs].size() >= MaxTabStops)
        return;
    std::vector<TabStop> stops = tabSets_[s.para.tabs];
    stops.push_back(stop);
    std::string key;
    for (const TabStop &t : stops)
        key.append(reinterpret_cast<const char *>(&t.position), sizeof t.position).append(1, char(t.align)).append(1, char(t.leader));
    const auto found = tabSetIndex_.find(key);
    if (found != tabSetIndex_.end()) {
        s.para.tabs = found->second;
    } else if (tabSets_.size() <= MaxTabSets) {
        s.para.tabs = uint16_t(tabSets_.size());
        tabSetIndex_.emplace(std::move(key), s.para.tabs);
        tabSets_.push_back(std::move(stops));
    }
}

} // namespace formats::rtf::detail
