// Alarm list files: any bytes load without a crash, a hang or an
// allocation beyond the input, and what loads saves and loads back the same.
#include "core/tracker/listviewstream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    ListViewData list;
    const ListViewLoad load = loadListView(&list, bytes);
    if (!load.ok || list.items.size() > bytes.size())
        std::abort();
    ListViewData again;
    const ListViewLoad reload = loadListView(&again, encodeListView(list));
    // Captions decoded through the Windows-1252 fallback are re-encoded as
    // UTF-8 and read back unchanged, so the round trip is always clean.
    if (!reload.clean || !(again == list))
        std::abort();
    return 0;
}
