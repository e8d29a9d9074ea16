// The store file's text: the registry's export syntax.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Brackwater\Tessaly]
//   "Installed"="True"
//   @="the key's default value"
//   "Count"=dword:00000010
//   "Lines"=hex(1):61,00,0a,00,62,00,00,00
//
// Written as UTF-8 with LF line ends, names and values being UTF-8 text in
// memory. Inside quotes \\ and \" are the escapes. Text holding a character
// below 0x20 is written in the hex(1) form (UTF-16LE with its terminator),
// which keeps every character. Read back: the same (a line that is not valid
// UTF-8 is read as ISO-8859-1), plus CRLF line ends, a UTF-8 byte-order mark,
// UTF-16LE files as the system's editor exports them, "REGEDIT4" files
// (ISO-8859-1, the 8-bit code page here), comments
// (";"), and hex values continued over several lines with a final "\".
#pragma once

#include "settings/RegistryTree.h"

#include <string>
#include <string_view>

namespace tessaly {

// Fills `tree` from a store file's bytes. Returns false, leaving `tree`
// unspecified, when the text is not something this store can read and write
// back faithfully: no header line, a line that is neither a section, a value
// nor a comment, a value outside a section, a malformed quoted string or hex
// list, or an import file's deletion markers ("[-KEY]", "name"=-). An empty
// file is an empty store.
bool ParseRegistryText(std::string_view bytes, RegistryTree& tree);

// The file text of `tree`: every key as a section (parents before children,
// in the tree's order), its values in order. Roots appear as sections only
// when they hold values.
std::string FormatRegistryText(const RegistryTree& tree);

}  // namespace tessaly
