#include "core/session/editable_values.h"

#include "core/wire/net_mode.h"

ChangeValues EditableValues(const DeviceRecord& record, const CTextCodec& codec) {
    ChangeValues values;
    values.mac = MacToText(record.mac);
    values.name = codec.Shown(FieldText(record.name), ITEM_WIDTH_NAME);
    values.pppoeAccount = codec.Shown(FieldText(record.pppoeAccount), ITEM_WIDTH_PPPOE_ACCOUNT);
    values.pppoePassword = codec.Shown(FieldText(record.pppoePassword), ITEM_WIDTH_PPPOE_PASSWORD);
    values.ip = FieldText(record.ip);
    values.netmask = FieldText(record.netmask);
    values.gateway = FieldText(record.gateway);
    values.httpPort = std::to_string(record.httpPort);
    values.mode = RecordMode(record.netMode);
    return values;
}
