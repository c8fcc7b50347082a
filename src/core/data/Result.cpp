#include "core/data/Result.h"

#include <algorithm>

namespace data {
namespace {

// Rows are read this many at a time around the one asked for.
constexpr int kChunk = 256;
// The first rows of a filtered result cost a walk through the order to each hit: no more of them
// are read than a grid shows at first.
constexpr int kFirstRows = 64;

// The rows read last, by position.
struct Cache {
    int start = 0;
    std::vector<Row> rows;

    const Row *at(int position) const
    {
        return position >= start && position < start + int(rows.size()) ? &rows[size_t(position - start)] : nullptr;
    }
    void clear() { rows.clear(); }
};

class IdResult : public Result {
public:
    IdResult(TableReader reader, std::vector<qint64> ids) : m_reader(std::move(reader)), m_ids(std::move(ids)) {}

    int count() const override { return int(m_ids.size()); }

    const Row *row(int position) override
    {
        if (position < 0 || position >= count())
            return nullptr;
        if (const Row *cached = m_cache.at(position))
            return cached;
        const int start = std::max(0, position - kChunk / 4);
        const int end = std::min(count(), start + kChunk);
        std::vector<Row> rows;
        if (!m_reader.readIds(std::vector<qint64>(m_ids.begin() + start, m_ids.begin() + end), &rows))
            return nullptr;
        m_cache = {start, std::move(rows)};
        return m_cache.at(position);
    }

    void appended(qint64 id, Row) override
    {
        m_ids.push_back(id);
        m_cache.clear();
    }

    void changed(int position, qint64, Row row) override
    {
        if (m_cache.at(position))
            m_cache.rows[size_t(position - m_cache.start)] = std::move(row);
    }

    void removed(int position) override
    {
        m_ids.erase(m_ids.begin() + position);
        m_cache.clear();
    }

private:
    TableReader m_reader;
    std::vector<qint64> m_ids;
    Cache m_cache;
};

class WindowedResult : public Result {
public:
    WindowedResult(TableReader reader, int count) : m_reader(std::move(reader)), m_fromFile(count) {}

    int count() const override { return m_fromFile + int(m_held.size()); }

    const Row *row(int position) override
    {
        if (position < 0 || position >= count())
            return nullptr;
        const int held = heldAt(position);
        if (held >= 0)
            return &m_held[size_t(held)].row;
        return fromFile(position - heldBefore(position));
    }

    void appended(qint64 id, Row row) override
    {
        m_held.push_back({count(), std::move(row)});
        m_excluded.push_back(id);
    }

    void changed(int position, qint64 id, Row row) override
    {
        const int held = heldAt(position);
        if (held >= 0) {
            m_held[size_t(held)].row = std::move(row);
            return;
        }
        // Its place in the order may have moved: it is held where it is and left out of the reads.
        m_held.insert(m_held.begin() + heldBefore(position), {position, std::move(row)});
        m_excluded.push_back(id);
        --m_fromFile;
        m_cache.clear();
    }

    void removed(int position) override
    {
        const int held = heldAt(position);
        if (held >= 0)
            m_held.erase(m_held.begin() + held);
        else
            --m_fromFile;
        for (size_t i = size_t(heldBefore(position)); i < m_held.size(); ++i)
            --m_held[i].position;
        m_cache.clear();
    }

private:
    struct Held {
        int position;
        Row row;
    };

    int heldBefore(int position) const
    {
        return int(std::lower_bound(m_held.begin(), m_held.end(), position,
                                    [](const Held &h, int p) { return h.position < p; })
                   - m_held.begin());
    }

    int heldAt(int position) const
    {
        const int i = heldBefore(position);
        return i < int(m_held.size()) && m_held[size_t(i)].position == position ? i : -1;
    }

    // A window around the row, a little of it above; the rows of the second half are read from
    // the end backwards, so that the last rows come as fast as the first.
    const Row *fromFile(int index)
    {
        if (const Row *cached = m_cache.at(index))
            return cached;
        const bool reversed = index >= m_fromFile / 2;
        int start = std::max(0, index - kChunk / 4);
        const int size = index < kFirstRows && m_reader.query().filter() ? kFirstRows : kChunk;
        int end = std::min(m_fromFile, start + size);
        if (reversed) {
            end = std::min(m_fromFile, index + kChunk * 3 / 4);
            start = std::max(0, end - kChunk);
        }
        const int offset = reversed ? m_fromFile - end : start;
        std::vector<Row> rows;
        if (!m_reader.readWindow(offset, end - start, reversed, m_excluded, &rows))
            return nullptr;
        m_cache = {start, std::move(rows)};
        return m_cache.at(index);
    }

    TableReader m_reader;
    int m_fromFile;                 // rows read from the file in the query's order
    std::vector<Held> m_held;       // by position
    std::vector<qint64> m_excluded; // the ids of the held rows
    Cache m_cache;
};

} // namespace

std::unique_ptr<Result> idResult(TableReader reader, std::vector<qint64> ids)
{
    return std::make_unique<IdResult>(std::move(reader), std::move(ids));
}

std::unique_ptr<Result> windowedResult(TableReader reader, int count)
{
    return std::make_unique<WindowedResult>(std::move(reader), count);
}

} // namespace data
