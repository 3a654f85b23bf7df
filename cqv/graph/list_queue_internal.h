// qvListQueue<T>: the first-in first-out queue of the graph's breadth-first
// wave. Library-private.
//
// The queue is a qvList1kHead ring of elements with a pointer to the newest
// entry (the tail), one to the oldest and a count. An element taken out stays
// in the ring, behind the newest entry, and is the next one a Put fills: the
// ring only grows when every element holds an entry, so it ends as long as
// the longest the queue has been, and a wave touches the same few elements
// over and over. New elements are carved from chunks of growing size, so a
// long wave allocates a handful of times rather than once per step.
#ifndef CQV_GRAPH_LIST_QUEUE_INTERNAL_H
#define CQV_GRAPH_LIST_QUEUE_INTERNAL_H

#include <cstddef>

#include "cqv/core/allocator.h"
#include "cqv/core/exceptions.h"
#include "cqv/graph/messages.h"
#include "cqv/graph/lists.h"

template <class T>
class qvListQueue {
    struct Element;

public:
    // A position in the queue, for reading entries ahead of the oldest.
    class Position {
    public:
        // Nowhere; only assigning to it makes it usable.
        Position() : e(nullptr) {}
        // The entry here.
        const T& operator*() const { return e->value; }
        // The entry after this one (past the newest: an element with no
        // entry in it, or the oldest).
        Position Next() const { return Position(static_cast<const Element*>(e->Next())); }
        bool operator==(const Position& o) const { return e == o.e; }
        bool operator!=(const Position& o) const { return e != o.e; }

    private:
        friend class qvListQueue;
        explicit Position(const Element* x) : e(x) {}
        const Element* e;
    };

    qvListQueue() : oldest(nullptr), tail(nullptr), count(0), size(0), chunks(nullptr) {}
    qvListQueue(const qvListQueue&) = delete;
    qvListQueue& operator=(const qvListQueue&) = delete;
    // Frees the chunks. The elements own nothing and are linked only to one
    // another, so their storage goes with the chunks without their
    // destructors being run (these would merely unlink them one by one).
    ~qvListQueue() {
        while (chunks != nullptr) {
            Chunk* c = chunks;
            chunks = c->next;
            qvFree(c);
        }
    }

    // Appends v as the newest entry.
    void Put(const T& v) {
        Element* e;
        if (count < size) {
            e = static_cast<Element*>(tail->Next());
        } else {
            e = Carve();
            if (tail != nullptr) tail->Add(e);
            ++size;
        }
        e->value = v;
        tail = e;
        if (count == 0) oldest = e;
        ++count;
    }
    // Takes out the oldest entry and returns it; an empty queue throws.
    T Get() {
        if (count == 0) throw BadParameters(qvMsg::ListQueueEmpty);
        const Element* e = oldest;
        oldest = static_cast<Element*>(e->Next());
        --count;
        return e->value;
    }
    // The oldest entry; the queue must not be empty.
    Position Oldest() const { return Position(oldest); }
    // The newest entry; the queue must not be empty.
    Position Newest() const { return Position(tail); }
    // Number of entries.
    int Len() const { return count; }
    bool IsEmpty() const { return count == 0; }

private:
    struct Element : public qvList1kHead {
        Element() : value() {}
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
    enum { FirstChunk = 64, LargestChunk = 4096 };

    // A new lone element, from the newest chunk or a fresh one.
    Element* Carve() {
        if (chunks == nullptr || chunks->used == chunks->size) {
            const int n = chunks == nullptr ? int(FirstChunk)
                          : chunks->size < LargestChunk ? chunks->size * 2
                                                        : int(LargestChunk);
            void* raw = qvMalloc(static_cast<unsigned int>(Chunk::HeaderBytes() + sizeof(Element) * n));
            Chunk* c = static_cast<Chunk*>(raw);
            c->next = chunks;
            c->size = n;
            c->used = 0;
            chunks = c;
        }
        Element* e = new (chunks->Elements() + chunks->used) Element;
        ++chunks->used;
        return e;
    }

    Element* oldest;  // the oldest entry when count > 0
    Element* tail;    // the newest entry; after it the free elements, then the oldest
    int count;        // entries
    int size;         // elements in the ring
    Chunk* chunks;    // newest chunk first
};

#endif  // CQV_GRAPH_LIST_QUEUE_INTERNAL_H
