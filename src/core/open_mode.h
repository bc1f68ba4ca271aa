#pragma once

namespace tavoe {

// Whether a file is opened for editing or for browsing (read-only).
enum class OpenMode { Edit, Browse };

}  // namespace tavoe
