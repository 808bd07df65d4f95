#pragma once

#include <string>
#include <vector>

#include "core/encoding/text_codec.h"
#include "core/wire/device_table.h"

// A camera's entry in a list of cameras: "%d %s", its id and its name. The window shows it
// and keeps the slot beside it; the rules below read an entry's id back from its text, as
// the fuzz target checks them.
std::string ListEntryText(const DeviceRecord& record);
// The entry with the name as the codec shows it (UTF-8).
std::string ListEntryText(const DeviceRecord& record, const CTextCodec& codec);

// The slot an entry names: the number at its start, minus 1 (as atoi reads it).
int SlotOfEntry(const std::string& entry);

// True when the list needs an entry for the record: none of the entries starts with its
// id. An entry, once listed, is never rewritten.
bool NeedsListEntry(const std::vector<std::string>& entries, const DeviceRecord& record);

// Adds the record's entry unless one with its id is listed already; returns whether it did.
bool AddListEntry(std::vector<std::string>& entries, const DeviceRecord& record);
