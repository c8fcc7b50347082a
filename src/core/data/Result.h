#pragma once
#include "core/data/TableReader.h"

#include <memory>
#include <vector>

namespace data {

// The rows of one refresh, in order, and what edits have done to them since: a saved new row
// joins the end, a changed row keeps its place, a deleted row leaves. Rows are read from the
// file only when asked for.
class Result {
public:
    virtual ~Result() = default;
    virtual int count() const = 0;
    // The row at a position, or nullptr when it cannot be read (gone from the file, or the file
    // failed); valid until the next call.
    virtual const Row *row(int position) = 0;
    virtual void appended(qint64 id, Row row) = 0;
    virtual void changed(int position, qint64 id, Row row) = 0;
    virtual void removed(int position) = 0;
};

// A result held as the ids of its rows in order; the rows are read by id, a window at a time.
std::unique_ptr<Result> idResult(TableReader reader, std::vector<qint64> ids);

// A large result read in windows of the query's order, straight from the file. Rows changed or
// added since are held here at their place and left out of those reads, so that every position
// stays where the user saw it.
std::unique_ptr<Result> windowedResult(TableReader reader, int count);

} // namespace data
