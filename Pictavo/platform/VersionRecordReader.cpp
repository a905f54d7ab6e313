#include "VersionRecordReader.h"

#include "VersionRecord.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

std::optional<std::array<uint16_t, 4>> ReadVersionRecord(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < LUMIVUE_VERSION_RECORD_SIZE)
        return std::nullopt;
    const uchar *bytes = file.map(0, file.size());
    if (!bytes)
        return std::nullopt;
    const std::string_view data(reinterpret_cast<const char *>(bytes), size_t(file.size()));
    const std::string_view marker(LUMIVUE_VERSION_MARKER, LUMIVUE_VERSION_MARKER_SIZE);
    const std::boyer_moore_horspool_searcher searcher(marker.begin(), marker.end());

    // The marker text also appears in this reader's own constants; only an occurrence followed by
    // the closing marker is the record.
    for (auto at = std::search(data.begin(), data.end(), searcher); at != data.end();
         at = std::search(at + 1, data.end(), searcher)) {
        const size_t offset = size_t(at - data.begin());
        if (data.size() - offset < LUMIVUE_VERSION_RECORD_SIZE)
            break;
        LumivueVersionRecord record;
        std::memcpy(&record, data.data() + offset, sizeof record);
        if (std::memcmp(record.closing, LUMIVUE_VERSION_CLOSING, LUMIVUE_VERSION_CLOSING_SIZE) != 0)
            continue;
        return std::array<uint16_t, 4>{record.number[0], record.number[1], record.number[2],
                                       record.number[3]};
    }
    return std::nullopt;
}
