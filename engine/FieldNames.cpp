#include "FieldNames.h"

namespace tessaly {

const std::vector<std::string> FieldNames = {
    "",         "Artist",   "Album",           "Title",     "Track", "Year",    "Genre",
    "Comments", "Composer", "Original Artist", "Copyright", "URL",   "Encoder",
};

}  // namespace tessaly
