#include "core/session/editable_values.h"

#include "core/wire/net_mode.h"
#include "core/wire/settings_fields.h"

ChangeValues EditableValues(const DeviceRecord& record, const CTextCodec& codec) {
    ChangeValues values;
    values.mac = MacToText(record.mac);
    for (const SettingField& field : SETTING_FIELDS) {
        const std::string stored = StoredText(field, record);
        values.*field.typed =
            field.kind == SettingKind::Text ? codec.Shown(stored, field.width) : stored;
    }
    values.mode = RecordMode(record.netMode);
    return values;
}
