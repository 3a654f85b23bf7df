// qvListQueue<T>: the first-in first-out queue of the graph's breadth-first
// wave. Library-private.
//
// The queue is a qvList1kHead ring of elements with a pointer to the newest
// (whose next is the oldest) and a count. Elements taken out are kept for
// reuse and new ones are carved from chunks of growing size, so a long wave
// allocates a handful of times rather than once per step, and the elements
// in use stay close together in memory. A Scout keeps track of the entry a
// fixed distance behind the oldest, so that a consumer can fetch what it
// will need before it gets there.
#ifndef CQV_GRAPH_LIST_QUEUE_INTERNAL_H
#define CQV_GRAPH_LIST_QUEUE_INTERNAL_H

#include <cstddef>

#include "cqv/core/allocator.h"
#include "cqv/core/exceptions.h"
#include "cqv/graph/messages.h"
#include "cqv/graph/lists.h"

template <class T>
class qvListQueue {
public:
    // A cursor on the entry a fixed distance after the oldest (see Ahead).
    struct Scout {
        Scout() : at(nullptr), distance(0), taken(0) {}

    private:
        friend class qvListQueue;
        const void* at;          // the element, null when unknown
        int distance;            // its distance from the oldest when last seen
        unsigned int taken;      // the queue's Get count when last seen
    };

    qvListQueue() : tail(nullptr), spare(nullptr), count(0), taken(0), chunks(nullptr) {}
    qvListQueue(const qvListQueue&) = delete;
    qvListQueue& operator=(const qvListQueue&) = delete;
    // Destroys every element and frees the chunks.
    ~qvListQueue() {
        while (chunks != nullptr) {
            Chunk* c = chunks;
            chunks = c->next;
            Element* e = c->Elements();
            // The first element of a ring takes the others out (without
            // deleting them); they then find themselves lone.
            for (int i = 0; i < c->used; ++i) e[i].~Element();
            qvFree(c);
        }
    }

    // Appends v as the newest entry.
    void Put(const T& v) {
        Element* e = Reuse();
        if (e != nullptr) {
            e->value = v;
        } else {
            e = Carve(v);
        }
        if (tail != nullptr) tail->Add(e);
        tail = e;
        ++count;
    }
    // Takes out the oldest entry and returns it; an empty queue throws.
    T Get() {
        if (count == 0) throw BadParameters(qvMsg::ListQueueEmpty);
        Element* e = static_cast<Element*>(tail->Remove());
        if (e == tail) tail = nullptr;
        --count;
        ++taken;
        if (spare != nullptr) {
            spare->Add(e);
        } else {
            spare = e;
        }
        return e->value;
    }
    // The entry k places after the oldest (0 is the oldest), or null when
    // the queue is not that long. The scout remembers where it was, so that
    // asking with the same k after each Get costs a step or two.
    const T* Ahead(Scout& s, int k) const {
        if (k >= count) {
            s.at = nullptr;
            return nullptr;
        }
        const Element* e = static_cast<const Element*>(s.at);
        int d = s.distance - static_cast<int>(taken - s.taken);
        if (e == nullptr || d < 0 || d > k) {
            e = static_cast<const Element*>(tail->Next());  // the oldest
            d = 0;
        }
        for (; d < k; ++d) e = static_cast<const Element*>(e->Next());
        s.at = e;
        s.distance = k;
        s.taken = taken;
        return &e->value;
    }
    // Number of entries.
    int Len() const { return count; }
    bool IsEmpty() const { return count == 0; }

private:
    struct Element : public qvList1kHead {
        explicit Element(const T& v) : value(v) {}
        // The queue owns the storage: a ring destructor never deletes one.
        int IsAllowDelete() const override { return 0; }
        T value;
    };
    struct Chunk {
        Chunk* next;
        int size;
        int used;
        static std::size_t HeaderBytes() {
            return (sizeof(Chunk) + alignof(Element) - 1) / alignof(Element) * alignof(Element);
        }
        Element* Elements() {
            return reinterpret_cast<Element*>(reinterpret_cast<unsigned char*>(this) + HeaderBytes());
        }
    };
    enum { FirstChunk = 64, LargestChunk = 8192 };

    // An element taken out earlier, or null.
    Element* Reuse() {
        if (spare == nullptr) return nullptr;
        Element* e = static_cast<Element*>(spare->Remove());
        if (e == spare) spare = nullptr;
        return e;
    }
    // A new element holding v, from the newest chunk or a fresh one.
    Element* Carve(const T& v) {
        if (chunks == nullptr || chunks->used == chunks->size) {
            const int size = chunks == nullptr ? int(FirstChunk)
                             : chunks->size < LargestChunk ? chunks->size * 2
                                                           : int(LargestChunk);
            void* raw = qvMalloc(static_cast<unsigned int>(Chunk::HeaderBytes() + sizeof(Element) * size));
            Chunk* c = static_cast<Chunk*>(raw);
            c->next = chunks;
            c->size = size;
            c->used = 0;
            chunks = c;
        }
        Element* e = new (chunks->Elements() + chunks->used) Element(v);
        ++chunks->used;
        return e;
    }

    Element* tail;   // newest entry; its next is the oldest
    Element* spare;  // ring of elements ready for reuse
    int count;
    unsigned int taken;  // number of Gets so far
    Chunk* chunks;   // newest chunk first
};

#endif  // CQV_GRAPH_LIST_QUEUE_INTERNAL_H
