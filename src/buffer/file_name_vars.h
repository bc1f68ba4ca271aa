#pragma once

#include <string_view>

namespace tavoe {

class StorageHost;
struct EditBuffer;

// The store variables derived from the current file's path, for the path /dir/sub/name.ext:
//   ZDSN      the whole path
//   ZDSNNAME  name.ext (after the last "/")
//   ZDSNPATH  /dir/sub; when the last "/" is the first character or follows ":" it is kept ("/")
//   ZDSNEXT   ext (after the last "." of the name; empty when there is none)
//   ZDSNBASE  name (the name without "." and extension)
//   ZDSNTYPE  *.ext, or "*" when there is no extension
// A path without any "/" sets only ZDSN.
void SetFileNameVariables(StorageHost& host, std::string_view path);

// Takes the path as the buffer's file: fileName is the path, directory the part up to and including
// its last "/" (empty without one) and displayName the part after it.
void SetBufferFileName(EditBuffer& buffer, std::string_view path);

}  // namespace tavoe
