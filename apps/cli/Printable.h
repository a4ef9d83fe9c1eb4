#pragma once

#include <string>
#include <string_view>

namespace quarn::subsysmgr::cli {

/// The text as it may be written to a terminal or a text listing: C0 controls and DEL as \e, \n,
/// \r, \t or \xNN, C1 controls and the marks that reorder text (bidirectional embeddings,
/// overrides, isolates and directional marks) as \uNNNN, each byte of invalid UTF-8 as \xNN, and
/// a backslash as \\ so that stored text cannot pass for an escape. Every other character, CJK
/// included, is left as it is. Never fails.
std::string Printable(std::string_view text);
/// Appends Printable(text) to `out`, without a text of its own.
void AppendPrintable(std::string& out, std::string_view text);

}  // namespace quarn::subsysmgr::cli
