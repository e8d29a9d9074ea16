// The ISO 639-2 languages offered for the comment language, with their
// English names, in the order of those names.
#pragma once

#include <string>
#include <vector>

namespace tessaly {

struct Language {
    std::string Code;  // three lower-case letters
    std::string Name;  // English; byte string (Volapük's ü is the byte 0xFC)
};

// 427 rows. Bibliographic and terminology codes that differ are separate rows
// with the same name ("fra" and "fre" French). Three codes occur twice with
// different names ("ine", "mak", "ssw"), as the list was published.
extern const std::vector<Language> LanguageTable;

// The index of the first row whose code equals `code` exactly; 0 when none
// does (the row of Abkhazian).
int LanguageIndex(const std::string& code);

}  // namespace tessaly
