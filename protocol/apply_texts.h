#pragma once

#include <initializer_list>
#include <string>

// What the finder says about settings on their way to a camera, in English, in one place so
// that both front ends say the same and a translation has one list to follow. "%1", "%2"
// are filled in order by FillText. Texts are UTF-8.

// Before sending.
constexpr char APPLY_TEXT_NOTHING_TO_SEND[] = "Nothing to send: no setting was changed";
constexpr char APPLY_TEXT_NOTHING_SENT[] = "Nothing was sent.";
constexpr char APPLY_TEXT_QUESTION_TITLE[] = "Submit";
constexpr char APPLY_TEXT_SEND_ANYWAY[] = "Send anyway";
constexpr char APPLY_TEXT_CANCEL[] = "Cancel";

// Refused values: "%1" is the field, "%2" the value typed.
constexpr char APPLY_TEXT_MASK_NOT_CONTIGUOUS[] =
    "%1: %2 is not a subnet mask: a mask is a run of ones followed by zeros, "
    "such as 255.255.255.0.";
constexpr char APPLY_TEXT_MASK_FOR_STATIC[] =
    "%1: %2 cannot be the subnet mask of a camera with a fixed address.";
constexpr char APPLY_TEXT_IP_ZERO[] = "%1: %2 is not an address a camera can have (0.x.x.x).";
constexpr char APPLY_TEXT_IP_LOOPBACK[] =
    "%1: %2 is a loopback address: it never leaves the machine that has it.";
constexpr char APPLY_TEXT_IP_MULTICAST[] =
    "%1: %2 is a multicast or reserved address (224 and above), not one a camera can have.";
constexpr char APPLY_TEXT_IP_NETWORK[] =
    "%1: %2 is the network address of its subnet, not one a camera can have.";
constexpr char APPLY_TEXT_IP_BROADCAST[] =
    "%1: %2 is the broadcast address of its subnet, not one a camera can have.";
constexpr char APPLY_TEXT_GATEWAY_IS_IP[] =
    "%1: %2 is the camera's own IP; a camera cannot be its own gateway (0.0.0.0 means no "
    "gateway).";
constexpr char APPLY_TEXT_GATEWAY_LOOPBACK[] =
    "%1: %2 is a loopback address and cannot be a gateway (0.0.0.0 means no gateway).";
constexpr char APPLY_TEXT_GATEWAY_MULTICAST[] =
    "%1: %2 is a multicast address and cannot be a gateway (0.0.0.0 means no gateway).";
constexpr char APPLY_TEXT_GATEWAY_BROADCAST[] =
    "%1: %2 is the broadcast address and cannot be a gateway (0.0.0.0 means no gateway).";
constexpr char APPLY_TEXT_MAC_ZERO[] = "%1: %2 is all zeros, which no network card can have.";
constexpr char APPLY_TEXT_MAC_BROADCAST[] =
    "%1: %2 is the broadcast address; the camera would take every frame on the network.";
constexpr char APPLY_TEXT_MAC_GROUP[] =
    "%1: %2 is a group address (the lowest bit of its first byte is set), which no single "
    "camera can have.";
constexpr char APPLY_TEXT_CONTROL_CHARACTER[] =
    "%1: the text holds a control character (such as a tab or a line break), which the "
    "camera cannot show.";

// Risky values, sent only when the user confirms: one sentence each.
constexpr char APPLY_TEXT_GATEWAY_OUTSIDE[] =
    "The gateway %1 lies outside the camera's new subnet %2, so the camera cannot reach it.";
constexpr char APPLY_TEXT_IP_TAKEN[] =
    "The IP %1 is already the IP of the camera %2 (%3): the two would disturb each other.";
constexpr char APPLY_TEXT_IP_OF_THIS_PC[] =
    "The IP %1 is the IP of this PC: the camera and this PC would disturb each other.";
constexpr char APPLY_TEXT_IP_OUT_OF_SIGHT[] =
    "The IP %1 lies outside every network of this PC: the finder will lose sight of the "
    "camera.";
constexpr char APPLY_TEXT_SEND_ANYWAY_HINT[] = "Use --force to send it anyway.";

// After sending: "%1" is the camera's MAC or name.
constexpr char APPLY_TEXT_SENDING[] = "Sending to %1…";
constexpr char APPLY_TEXT_CONFIRMED[] = "%1 confirmed the new settings";
constexpr char APPLY_TEXT_NOT_TAKEN[] = "%1 did not take the new settings: %2";
constexpr char APPLY_TEXT_NO_ANSWER[] =
    "%1 did not answer: it may be restarting; press Update in a minute";
constexpr char APPLY_TEXT_TWO_ANSWER[] =
    "Two cameras answer with the MAC %1: check which one took the new settings";
constexpr char APPLY_TEXT_STOPPED_WAITING[] = "Stopped waiting for %1 to confirm";

// One setting that did not come back as sent: "%1" the setting, "%2" what the camera
// reports, "%3" what was sent.
constexpr char APPLY_TEXT_DIFFERS[] = "%1 is %2, not %3 as sent";
constexpr char APPLY_TEXT_SECRET_DIFFERS[] = "%1 did not change";
constexpr char APPLY_TEXT_LIST_SEPARATOR[] = "; ";

// The names of the settings as the window labels them.
constexpr char APPLY_FIELD_NAME[] = "Name";
constexpr char APPLY_FIELD_IP[] = "IP";
constexpr char APPLY_FIELD_NETMASK[] = "Submask";
constexpr char APPLY_FIELD_GATEWAY[] = "Gateway";
constexpr char APPLY_FIELD_HTTP_PORT[] = "Http Port";
constexpr char APPLY_FIELD_MODE[] = "Mode";
constexpr char APPLY_FIELD_ACCOUNT[] = "Account";
constexpr char APPLY_FIELD_PASSWORD[] = "Password";
constexpr char APPLY_FIELD_MAC[] = "Mac";

// The pattern with "%1", "%2", ... replaced by the arguments in order; a placeholder
// without an argument stays as it is.
std::string FillText(const char* pattern, std::initializer_list<std::string> arguments);
