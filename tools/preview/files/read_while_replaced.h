#pragma once
// Windows only: a file read so that another program may write it, replace it or swap a new one
// in meanwhile. A plain open keeps the layout editor's next save from being swapped in while it
// lasts, and the render's page data from being replaced while the editor serves it.
#include <cstddef>
#include <string>

namespace preview {

// The file's bytes by UTF-8 path, at most limit of them; false when it cannot be read.
bool readWhileReplaced(const std::string& path, std::string& bytes, size_t limit = size_t(1) << 30);

} // namespace preview
