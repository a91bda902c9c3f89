// Registration identity of the plug-in: the names and identifiers under which the host
// finds and creates it, and those of the record type of its type library.
#pragma once

#include <cstdint>
#include <string_view>

namespace zq::plugin {

inline constexpr std::string_view kProjectName = "ZQBO_DOCPLUGIN_STATI";
inline constexpr std::string_view kProjectDescription = "Plug in BO documenti - Vestura Annulli";
inline constexpr std::string_view kClassName = "CLSRF_REGDOC_STATI";
inline constexpr std::string_view kProgId = "ZQBO_DOCPLUGIN_STATI.CLSRF_REGDOC_STATI";

inline constexpr std::string_view kClsid = "{2D96EBE0-693A-4CF7-917E-F71CCD4533D3}";
// Default interface _CLSRF_REGDOC_STATI (carries the property Cls_SrvLog).
inline constexpr std::string_view kIidDefault = "{DCD44E31-7293-40CD-B591-D4338411B438}";
// The host's interfaces the class implements.
inline constexpr std::string_view kIidRegDocVert = "{244C8C75-145E-4298-A9FA-007A1B6A0A2F}";
inline constexpr std::string_view kIidRegDocVert2 = "{59F98338-1F04-41A8-B1B9-6ED90EBA8991}";

inline constexpr std::string_view kTypeLibId = "{A9D53667-2560-48C3-B4DA-9F44410A59EC}";
inline constexpr std::uint16_t kTypeLibVersionMajor = 1;
inline constexpr std::uint16_t kTypeLibVersionMinor = 0;
inline constexpr std::uint32_t kTypeLibLocale = 0x409;

// Record type DO77 (the partial-cancellation link).
inline constexpr std::string_view kRecordIdDO77 = "{8235ADE0-A229-4EAA-BBE7-2FB7C8CFDC72}";

inline constexpr std::string_view kThreadingModel = "Apartment";

}  // namespace zq::plugin
