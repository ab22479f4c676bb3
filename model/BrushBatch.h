// The windings of the brushes that a map's open reads, clipped on a few worker threads while the
// reading thread goes on with the text: a brush's windings depend on its own planes alone.
//
// The reading thread hands each brush over once its faces are read and leaves it alone until
// Finish; everything else (textures, messages, lists) stays with it. A worker runs only the clip
// and the closed-volume check of one brush, which touch nothing but that brush, under the reading
// thread's whole floating-point state (MXCSR and the x87 control word): the windings have the same
// bits on whichever thread they were made.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

class Brush;
class Entity;

class CBrushBatch
{
public:
    // A brush handed over, with what the reader needs to keep it as text when it fails.
    struct Entry
    {
        Brush* brush = nullptr;
        Entity* owner = nullptr;
        int index = 0;            // the number of the owner's brushes before it (as read)
        const char* text = nullptr; // from its "{" (or first face line) to the end of what was read
        int length = 0;
        int line = 0;             // the line it starts on
        bool brace = true;        // it starts with its "{"
        bool endedInside = false; // the text ended before its "}"
        int result = -1;          // the kind of its geometry failure, or -1 (built)
        CBrushBatch* batch = nullptr;
    };

    CBrushBatch();
    // Waits for the work under way: the workers never outlive a batch's brushes.
    ~CBrushBatch();
    CBrushBatch(const CBrushBatch&) = delete;
    CBrushBatch& operator=(const CBrushBatch&) = delete;

    // The brush's windings are to be built; the caller leaves the brush alone until Finish.
    void Add(const Entry& entry);
    // Every brush handed over is built or has failed (the reading thread helps with what is left).
    // Throws std::bad_alloc when a clip ran out of memory.
    void Finish();
    // Waits for the work under way and forgets every brush handed over (the read stops).
    void Abandon();
    // The entries of the owner, which come next in the order they were added (owners read one
    // after the other), are passed over; the ones whose brushes failed are put in failed.
    void TakeFailures(const Entity* owner, std::vector<const Entry*>& failed);

    // The number of worker threads (0 on a machine of one processor: the reading thread clips).
    static int GetWorkerCount();

    // A thread's floating-point control state: MXCSR and the x87 control word.
    struct FloatState
    {
        unsigned csr;
        unsigned short x87;
        static FloatState OfThisThread();
        void MakeThisThreads() const;
        bool operator!=(const FloatState& o) const { return csr != o.csr || x87 != o.x87; }
    };
    // Runs an entry's clip and check: what a worker does with each entry.
    static void Build(Entry& entry);

private:
    // last: the reader goes on to wait for the batch, and all the workers share what is left.
    void Publish(bool last = false);
    void WaitForWorkers();
    Entry& At(size_t i) { return m_chunks[i / kChunk][i % kChunk]; }

    // The entries, in blocks that stay in place as more are added: the workers hold pointers
    // into them.
    enum { kChunk = 256 };
    std::vector<std::unique_ptr<Entry[]>> m_chunks;
    size_t m_count = 0;
    std::vector<Entry*> m_unpublished;
    size_t m_taken = 0;          // entries passed to TakeFailures
    size_t m_outstanding = 0;    // published and not yet built; guarded by the workers' lock
    FloatState m_float;          // the reading thread's floating-point state

    friend class CWindingWorkers;
};
