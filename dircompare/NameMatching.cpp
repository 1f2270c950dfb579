#include "dircompare/NameMatching.h"

namespace lindrel::dircompare {

NameMatch MatchNames(const DirListing& master, const DirListing& source) {
  const auto& masters = master.entries();
  const auto& sources = source.entries();
  NameMatch match;
  match.partnerOfMaster.assign(masters.size(), NameMatch::kNoPartner);
  match.sourceMatched.assign(sources.size(), false);

  for (std::size_t first = 0; first < masters.size();) {
    std::size_t end = first + 1;
    while (end < masters.size() && masters[end].upperName == masters[first].upperName) ++end;
    const DirListing::Group partners = source.Find(masters[first].upperName);
    const std::size_t partnersEnd = partners.first + partners.count;

    // Identical spellings first, so a.txt meets a.txt even when A.TXT sits beside it.
    for (std::size_t m = first; m < end; ++m) {
      for (std::size_t s = partners.first; s < partnersEnd; ++s) {
        if (!match.sourceMatched[s] && sources[s].name == masters[m].name) {
          match.partnerOfMaster[m] = s;
          match.sourceMatched[s] = true;
          break;
        }
      }
    }
    std::size_t s = partners.first;
    for (std::size_t m = first; m < end; ++m) {
      if (match.partnerOfMaster[m] != NameMatch::kNoPartner) continue;
      while (s < partnersEnd && match.sourceMatched[s]) ++s;
      if (s == partnersEnd) break;
      match.partnerOfMaster[m] = s;
      match.sourceMatched[s] = true;
    }
    first = end;
  }
  return match;
}

}  // namespace lindrel::dircompare
