#pragma once

#include "core/encoding/text_codec.h"
#include "core/wire/device_table.h"
#include "core/wire/discovery_datagram.h"

// A camera's settings as a user edits them, in UTF-8: its texts as codec reads them, its
// addresses and port as text, the radio its mode bytes check. Sent back unchanged, these
// values change nothing on the camera. The window's panel shows them; the command line
// lays its options over them.
ChangeValues EditableValues(const DeviceRecord& record, const CTextCodec& codec);
