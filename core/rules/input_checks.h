#pragma once

#include <string_view>

// Checks on what a user types before it goes to a camera. A text that is no dotted
// address would go out as 255.255.255.255 and lose the camera, so the front ends refuse
// bad values and send nothing.

// Four decimal numbers of 0 to 255 without leading zeros, separated by dots, nothing else.
bool IsDottedAddress(std::string_view text);

// A decimal number of 1 to 65535 in at most five digits (leading zeros allowed).
bool IsHttpPort(std::string_view text);

// Twelve hexadecimal digits, either case.
bool IsMacText(std::string_view text);
