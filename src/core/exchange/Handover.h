#pragma once
#include <condition_variable>
#include <deque>
#include <mutex>

namespace exchange {

// Chunks of work handed from one thread to another, a few at a time: the giving thread waits
// while the taking one is that far behind, so that the memory held stays small.
template <typename Chunk> class Handover {
public:
    explicit Handover(size_t most) : m_most(most) {}

    // Waits for room; false (the chunk dropped) once the taker has stopped.
    bool put(Chunk chunk)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || m_chunks.size() < m_most; });
        if (m_stopped)
            return false;
        m_chunks.push_back(std::move(chunk));
        m_changed.notify_all();
        return true;
    }
    // Hands the chunk over if there is room, without waiting; else drops it.
    void offer(Chunk chunk)
    {
        const std::lock_guard lock(m_mutex);
        if (!m_stopped && m_chunks.size() < m_most) {
            m_chunks.push_back(std::move(chunk));
            m_changed.notify_all();
        }
    }
    // Waits for a chunk; false at the end (closed and empty) or once stopped.
    bool take(Chunk *chunk)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopped || m_closed || !m_chunks.empty(); });
        return takeLocked(chunk);
    }
    // A chunk if one is there, without waiting.
    bool poll(Chunk *chunk)
    {
        const std::lock_guard lock(m_mutex);
        return takeLocked(chunk);
    }
    // How many chunks wait to be taken.
    size_t pending()
    {
        const std::lock_guard lock(m_mutex);
        return m_chunks.size();
    }
    // No more chunks come.
    void close() { set(&m_closed); }
    // The taker gives up: every put() and take() returns false from now on.
    void stop() { set(&m_stopped); }

private:
    bool takeLocked(Chunk *chunk)
    {
        if (m_stopped || m_chunks.empty())
            return false;
        *chunk = std::move(m_chunks.front());
        m_chunks.pop_front();
        m_changed.notify_all();
        return true;
    }
    void set(bool *flag)
    {
        {
            const std::lock_guard lock(m_mutex);
            *flag = true;
        }
        m_changed.notify_all();
    }

    const size_t m_most;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Chunk> m_chunks;
    bool m_closed = false, m_stopped = false;
};

} // namespace exchange
