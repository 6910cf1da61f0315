// TrRecordList.h - what the keyed databases do alike over their record
// lists: step a read cursor, find the first record under a key.
#ifndef TR_DATA_RECORDLIST_H
#define TR_DATA_RECORDLIST_H

#include "include/TrCommonClasses.h"

#include <variant>

namespace tr {
namespace data {

// The record under the read cursor, with the cursor moved on; null at the
// end of the list, or when the cursor is a position of another kind of list.
template <class List>
typename List::value_type* ReadNext(List& list, TrDataPosition& cursor) {
    auto* pos = std::get_if<typename List::iterator>(&cursor);
    if (!pos || *pos == list.end()) return nullptr;
    return &*(*pos)++;
}

// The first record in file order whose key equals 'key'.
template <class List, class Key>
typename List::value_type* FindFirst(List& list, const Key& key) {
    for (auto& data : list)
        if (data.GetKey() == key) return &data;
    return nullptr;
}

}  // namespace data
}  // namespace tr

#endif  // TR_DATA_RECORDLIST_H
