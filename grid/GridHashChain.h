// The chained hash table behind the grid's own maps: a bucket array made on the first insertion,
// associations taken from blocks and recycled through a free list, and iteration bucket by bucket. Each map
// says where a new association goes in its bucket: at the head (newest first) or at the tail, which keeps a
// map's iteration order when it is written and read back in that order.
#pragma once

#include "platform/base/CollectionTemplates.h"
#include "platform/base/Win32Types.h"

#include <deque>
#include <vector>

template <class Key, class Value>
class GridHashChain {
public:
    struct Assoc {
        Assoc* next = nullptr;
        UINT bucket = 0;
        Key key{};
        Value value{};
    };

    GridHashChain(UINT bucketCount, bool newestFirst)
        : m_nBuckets(bucketCount ? bucketCount : 1), m_newestFirst(newestFirst) {}
    GridHashChain(const GridHashChain&) = delete;
    GridHashChain& operator=(const GridHashChain&) = delete;

    UINT GetHashTableSize() const { return m_nBuckets; }
    INT_PTR GetCount() const { return m_nCount; }
    bool IsEmpty() const { return m_nCount == 0; }

    // Drops every association and sets the bucket count; the table itself waits for the first insertion
    // unless allocateNow.
    void InitHashTable(UINT bucketCount, bool allocateNow = false) {
        RemoveAll();
        m_nBuckets = bucketCount ? bucketCount : 1;
        if (allocateNow) {
            m_table.assign(m_nBuckets, nullptr);
        }
    }

    Assoc* Find(const Key& key, UINT bucket) const {
        if (m_table.empty()) {
            return nullptr;
        }
        for (Assoc* assoc = m_table[bucket]; assoc; assoc = assoc->next) {
            if (assoc->key == key) {
                return assoc;
            }
        }
        return nullptr;
    }

    // The association of the key, made with a default value when missing.
    Assoc& FindOrAdd(const Key& key, UINT bucket) {
        if (Assoc* found = Find(key, bucket)) {
            return *found;
        }
        if (m_table.empty()) {
            m_table.assign(m_nBuckets, nullptr);
        }
        Assoc* assoc = NewAssoc();
        assoc->bucket = bucket;
        assoc->key = key;
        if (m_newestFirst || !m_table[bucket]) {
            assoc->next = m_table[bucket];
            m_table[bucket] = assoc;
        } else {
            Assoc* last = m_table[bucket];
            while (last->next) {
                last = last->next;
            }
            last->next = assoc;
        }
        ++m_nCount;
        return *assoc;
    }

    bool Remove(const Key& key, UINT bucket) {
        if (m_table.empty()) {
            return false;
        }
        for (Assoc** link = &m_table[bucket]; *link; link = &(*link)->next) {
            if ((*link)->key == key) {
                Assoc* assoc = *link;
                *link = assoc->next;
                FreeAssoc(assoc);
                return true;
            }
        }
        return false;
    }

    void RemoveAll() {
        m_table.clear();
        m_store.clear();
        m_free = nullptr;
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount ? BEFORE_START_POSITION : nullptr; }

    // The association at the position; the position moves on to the next one, or null at the end.
    const Assoc* GetNext(POSITION& position) const {
        const Assoc* assoc = reinterpret_cast<const Assoc*>(position);
        if (position == BEFORE_START_POSITION) {
            assoc = FirstFrom(0);
        }
        if (!assoc) {
            position = nullptr;
            return nullptr;
        }
        const Assoc* next = assoc->next ? assoc->next : FirstFrom(assoc->bucket + 1);
        position = reinterpret_cast<POSITION>(const_cast<Assoc*>(next));
        return assoc;
    }

private:
    const Assoc* FirstFrom(UINT bucket) const {
        for (UINT b = bucket; b < m_table.size(); ++b) {
            if (m_table[b]) {
                return m_table[b];
            }
        }
        return nullptr;
    }

    Assoc* NewAssoc() {
        if (m_free) {
            Assoc* assoc = m_free;
            m_free = assoc->next;
            *assoc = Assoc();
            return assoc;
        }
        return &m_store.emplace_back();
    }

    void FreeAssoc(Assoc* assoc) {
        *assoc = Assoc();
        assoc->next = m_free;
        m_free = assoc;
        if (--m_nCount == 0) {
            RemoveAll();
        }
    }

    std::vector<Assoc*> m_table;
    std::deque<Assoc> m_store; // stable addresses: the blocks of associations
    Assoc* m_free = nullptr;
    INT_PTR m_nCount = 0;
    UINT m_nBuckets;
    bool m_newestFirst;
};
