// Shared by the files of the file layer; not for other callers.
#pragma once

namespace tessaly {

// Remembers `error` as the layer's last error (see LastFileError) and returns it.
int RecordFileError(int error);

}  // namespace tessaly
