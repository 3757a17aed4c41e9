// Emulated system settings: the ANSI and OEM code pages and the user locale a
// Windows system of the user's POSIX locale would report. Read once per
// process; QUORNEL_ACP, QUORNEL_OEMCP and QUORNEL_LCID override them.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string_view>

#include "platform/testing.h"
#include "platform/winapi.h"

namespace quornel::platform {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

struct Settings {
  UINT acp;
  UINT oemcp;
  LCID lcid;
};

struct LocaleRow {
  std::string_view prefix;  // language, or language_territory
  Settings settings;
};

// Longer prefixes first where a territory decides (zh_CN against zh_TW).
constexpr LocaleRow kLocales[] = {
    {"ja", {932, 932, 0x0411}},     {"zh_CN", {936, 936, 0x0804}},
    {"zh_SG", {936, 936, 0x1004}},  {"zh_TW", {950, 950, 0x0404}},
    {"zh_HK", {950, 950, 0x0C04}},  {"zh_MO", {950, 950, 0x1404}},
    {"zh", {936, 936, 0x0804}},     {"ko", {949, 949, 0x0412}},
    {"th", {874, 874, 0x041E}},     {"vi", {1258, 1258, 0x042A}},
    // Cyrillic script
    {"ru", {1251, 866, 0x0419}},    {"uk", {1251, 866, 0x0422}},
    {"be", {1251, 866, 0x0423}},    {"bg", {1251, 866, 0x0402}},
    {"mk", {1251, 866, 0x042F}},    {"sr", {1251, 855, 0x0C1A}},
    {"kk", {1251, 866, 0x043F}},    {"ky", {1251, 866, 0x0440}},
    {"tt", {1251, 866, 0x0444}},    {"mn", {1251, 866, 0x0450}},
    {"tg", {1251, 866, 0x0428}},
    // Central European
    {"cs", {1250, 852, 0x0405}},    {"pl", {1250, 852, 0x0415}},
    {"hu", {1250, 852, 0x040E}},    {"sk", {1250, 852, 0x041B}},
    {"sl", {1250, 852, 0x0424}},    {"hr", {1250, 852, 0x041A}},
    {"bs", {1250, 852, 0x141A}},    {"ro", {1250, 852, 0x0418}},
    {"sq", {1250, 852, 0x041C}},
    {"el", {1253, 737, 0x0408}},    {"tr", {1254, 857, 0x041F}},
    {"az", {1254, 857, 0x042C}},    {"he", {1255, 862, 0x040D}},
    {"ar", {1256, 720, 0x0401}},    {"fa", {1256, 720, 0x0429}},
    {"ur", {1256, 720, 0x0420}},
    // Baltic
    {"et", {1257, 775, 0x0425}},    {"lv", {1257, 775, 0x0426}},
    {"lt", {1257, 775, 0x0427}},
};

constexpr Settings kFallback{1252, 437, 0x0409};

Settings FromLocaleName(std::string_view name) {
  for (const LocaleRow& row : kLocales) {
    if (name.substr(0, row.prefix.size()) != row.prefix) continue;
    // "ja" must not match "jam"; the prefix ends at the name's end or a separator.
    if (name.size() == row.prefix.size()) return row.settings;
    const char next = name[row.prefix.size()];
    if (next == '_' || next == '-' || next == '.' || next == '@') return row.settings;
  }
  return kFallback;
}

using EnvLookup = std::function<const char*(const char*)>;

std::string_view PosixLocaleName(const EnvLookup& getenv) {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

// Decimal or 0x-prefixed hexadecimal; anything else leaves the locale's value.
bool ParseOverride(const EnvLookup& getenv, const char* variable, DWORD& out) {
  const char* value = getenv(variable);
  if (value == nullptr || *value == '\0') return false;
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(value, &end, 0);
  if (end == value || *end != '\0' || parsed > 0xFFFFFFFFul) return false;
  out = static_cast<DWORD>(parsed);
  return true;
}

Settings ReadSettings(const EnvLookup& getenv) {
  Settings settings = FromLocaleName(PosixLocaleName(getenv));
  DWORD value = 0;
  if (ParseOverride(getenv, "QUORNEL_ACP", value)) settings.acp = value;
  if (ParseOverride(getenv, "QUORNEL_OEMCP", value)) settings.oemcp = value;
  if (ParseOverride(getenv, "QUORNEL_LCID", value)) settings.lcid = value;
  return settings;
}

const Settings& ProcessSettings() {
  static const Settings settings =
      ReadSettings([](const char* variable) -> const char* { return std::getenv(variable); });
  return settings;
}

}  // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

UINT GetACP() { return ProcessSettings().acp; }
UINT GetOEMCP() { return ProcessSettings().oemcp; }
LCID GetUserDefaultLCID() { return ProcessSettings().lcid; }

namespace testing {

SystemSettings SettingsForLocale(std::string_view name) {
  const Settings settings = FromLocaleName(name);
  return {settings.acp, settings.oemcp, settings.lcid};
}

SystemSettings SettingsForEnvironment(const std::function<const char*(const char*)>& getenv) {
  const Settings settings = ReadSettings(getenv);
  return {settings.acp, settings.oemcp, settings.lcid};
}

}  // namespace testing

}  // namespace quornel::platform
