#pragma once
// The texts of an audio call: the CallID, the address texts of From and To,
// the SDP offer, and the reading of a received From.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Form of the peer in a To text.
constexpr int kPeerGateway = 0;  // "NVS <id@>"
constexpr int kPeerEndUser = 1;  // any other value: "END <id@>"

// Two passes of 8 bytes (the last 8 bytes of a new GUID each): an ASCII
// letter stays, any other byte b becomes (b & 0x19) + 'A' when b > 0x80,
// else (b & 0x19) + 'a'. So a CallID is 16 letters.
std::string MakeCallId();
// One pass over the given bytes.
std::string CallIdLetters(const std::uint8_t* bytes, std::size_t count);

// "END <user@ip:7000>"
std::string OwnFromText(std::string_view user, std::string_view localIp);
// "NVS <id@>" for a gateway, "END <id@>" for an end user.
std::string PeerToText(std::string_view peerId, int form);
// The SDP offer of "invite" and "inviteack".
std::string SdpOfferText(int number, std::string_view localIp);

// A From is well formed when it has at least 5 characters and begins with
// "NVS" or "END".
bool IsWellFormedFrom(std::string_view from);
bool IsGatewayFrom(std::string_view from);
// The text between the first '<' and the first '@' after it; empty when
// there is no such pair.
std::string PeerIdOf(std::string_view from);
