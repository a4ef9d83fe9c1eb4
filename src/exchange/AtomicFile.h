#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn::subsysmgr::exchange {

/// Writes the content to a new file beside `path` and renames it into place, so that the file
/// is always either as it was or complete, whatever fails or kills the writer. A file that is
/// replaced keeps its permissions (and its owner, where the writer may give it); a new one gets
/// those of the umask; a symbolic link is written through. Raises std::system_error, with the
/// file as it was and no temporary file left, when the content cannot be written in full.
void WriteFileAtomically(const std::string& path, std::string_view content);
/// The same with the content in parts, written one after the other.
void WriteFileAtomically(const std::string& path, const std::vector<std::string>& parts);

}  // namespace quarn::subsysmgr::exchange
