// The product configuration, fixed in the program. The hosts are names under the reserved
// .example domain, so the program never contacts a real site; tests and the demo reach a
// server of their own through the proxy setting.
#pragma once
#include <string_view>

namespace ProductConfig {

inline constexpr std::u16string_view ProdName = u"Lumvora";
inline constexpr std::string_view DownloadHost = "download.kestrune.example";
inline constexpr std::string_view InstallerPath = "/download/lumvoraVV.exe";
inline constexpr std::string_view URL = "http://download.kestrune.example/download/lumvoraVV.exe";
inline constexpr std::u16string_view SignupHostGerman = u"www.kestrune-de.example";
inline constexpr std::u16string_view SignupHostInternational = u"www.kestrune.example";
inline constexpr std::u16string_view SignupCode = u"LV7Q3K";
inline constexpr std::u16string_view ClientRegKey = u"\\Software\\Kestrune\\Lumvora";
inline constexpr std::u16string_view ClientRegValue = u"CustomerID";
inline constexpr std::string_view DownloadPassword = "vv-Lumvora-7731";

} // namespace ProductConfig
