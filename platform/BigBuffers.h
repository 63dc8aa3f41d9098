#pragma once

#include <cstddef>

// Asks the system to back a large buffer about to be filled with huge pages where it can. A
// text of a hundred megabytes is otherwise filled one small page at a time, and on many systems
// the fault of each page costs more than the bytes written to it. Only the whole huge pages
// inside the buffer are concerned; small buffers and systems without the advice are left alone.
void AdviseHugePages(void* data, std::size_t bytes);
