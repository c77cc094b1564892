// The product configuration, fixed in the program. The hosts are names under the reserved
// .example domain, so the program never contacts a real site; tests and the demo reach a
// server of their own through the proxy setting.
//
// The resource compiler reads this header too, for the names in the program's version
// information: those are plain macros, and everything C++ stays out of its sight.
#pragma once

#define LV_PRODUCT_NAME "Lumvora"
#define LV_COMPANY_NAME "Kestrune"
// The common name of the certificate that signs the full-version installer: a downloaded
// installer is started only when its signature is intact, its chain ends in a trusted root
// and its signer bears exactly this name. Empty switches that check off (a maker who does
// not sign), which leaves the start unprotected.
#define LV_INSTALLER_PUBLISHER "Kestrune"
// The program's name as the platform shows it (file properties, task list, signature).
#define LV_FILE_DESCRIPTION LV_PRODUCT_NAME " full-version assistant"
// The download address's parts, each written once; the address is made of them.
#define LV_DOWNLOAD_HOST "download.kestrune.example"
#define LV_INSTALLER_PATH "/download/lumvoraVV.exe"

#ifndef RC_INVOKED
#include <string_view>

namespace ProductConfig {

inline constexpr std::u16string_view ProdName = u"" LV_PRODUCT_NAME;
inline constexpr std::string_view DownloadHost = LV_DOWNLOAD_HOST;
inline constexpr std::string_view InstallerPath = LV_INSTALLER_PATH;
inline constexpr std::string_view URL = "http://" LV_DOWNLOAD_HOST LV_INSTALLER_PATH;
// What the download sends about itself and where it comes from.
inline constexpr std::string_view AcceptTypes = "*/*";
inline constexpr std::string_view Agent = "Optavo HTTPGet";
inline constexpr std::string_view Referer = "Kestrune - Optavo";
inline constexpr std::u16string_view SignupHostGerman = u"www.kestrune-de.example";
inline constexpr std::u16string_view SignupHostInternational = u"www.kestrune.example";
inline constexpr std::u16string_view SignupCode = u"LV7Q3K";
inline constexpr std::u16string_view ClientRegKey = u"\\Software\\Kestrune\\Lumvora";
inline constexpr std::u16string_view ClientRegValue = u"CustomerID";
inline constexpr std::string_view DownloadPassword = "vv-Lumvora-7731";
inline constexpr std::u16string_view InstallerPublisher = u"" LV_INSTALLER_PUBLISHER;

} // namespace ProductConfig
#endif
