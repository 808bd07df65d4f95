#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// IPv4 subnet arithmetic on addresses in host order. Pure functions: the window, the
// command line and the checks before a set request all decide "is this camera in my
// network" and "which address is free" the same way.

// The address of a dotted quad (four numbers of 0 to 255), or nothing.
std::optional<uint32_t> ParseIpv4(std::string_view text);
std::string Ipv4Text(uint32_t address);

// The mask of a prefix length: 24 gives 255.255.255.0. Lengths beyond 0 to 32 are clamped.
uint32_t PrefixMask(int prefix);
// The prefix length of a contiguous mask, or nothing for a mask such as 255.0.255.0.
std::optional<int> MaskPrefix(uint32_t mask);
// The ones a mask starts with: its prefix length when it is contiguous.
int MaskLength(uint32_t mask);

// Whether the address lies in 169.254.0.0/16, where a camera that found no DHCP server
// gives itself an address. Text that is no address is not.
bool IsLinkLocal(std::string_view address);

// "10.0.0.5/24".
std::string SubnetText(uint32_t address, int prefix);

// Whether address lies in the subnet that interfaceAddress/prefix belongs to.
bool InSubnet(uint32_t address, uint32_t interfaceAddress, int prefix);
// The same for a subnet given by its mask, contiguous or not.
bool InMaskedSubnet(uint32_t address, uint32_t network, uint32_t netmask);

// A host address of the interface's subnet that is free for a camera: not the interface's
// own, not the subnet's network or broadcast address, and none of taken (cameras listed, the
// gateway). The search starts just above the interface's own address and wraps around, so
// the proposal stays near the address the site already gave this PC. Nothing when the
// subnet has no free host address (a /31 or /32, or every address taken).
std::optional<uint32_t> FreeAddress(uint32_t interfaceAddress, int prefix,
                                    const std::vector<uint32_t>& taken);
