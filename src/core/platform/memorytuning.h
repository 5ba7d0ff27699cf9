#pragma once

// Keeps freed memory in the process for the next large text instead of
// handing every multi-megabyte buffer back to the system and faulting it
// in again page by page: a summary of hundreds of projects builds seven
// texts of a megabyte each time it is selected. Call once, first thing in
// main().
void keepLargeBuffersInProcess();
