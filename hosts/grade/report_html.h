// index.html: the report people read, from the records alone (so a merged
// report reads the same as one graded at once).
#pragma once

#include <string>
#include <vector>

#include "records.h"

namespace vk::grade {

// `note`: one more sentence for the top of the page (may be empty).
bool write_index(const std::string& path, const std::vector<Record>& records, const std::string& note,
                 std::string& error);

}  // namespace vk::grade
