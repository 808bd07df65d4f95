#include "core/present/info_line.h"

#include "core/messages/finder_texts.h"
#include "core/wire/discovery_datagram.h"
#include "core/wire/net_mode.h"

std::string InfoText(const DeviceRecord& record, const CTextCodec& codec, const TextLookup& tr) {
    return tr(TEXT_INFO_IP_GET) + ModeName(RecordMode(record.netMode)) + "\r\n" +
           tr(TEXT_INFO_VERSION) + codec.Shown(FieldText(record.version), ITEM_WIDTH_VERSION) +
           "\r\n";
}
