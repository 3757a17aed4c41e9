// The system settings a POSIX locale stands for, and the environment
// variables that choose the locale or override its answers.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/testing.h"

namespace qp = quornel::platform;
namespace qt = quornel::platform::testing;

namespace {

TEST(SystemSettings, LocaleNames) {
  struct Case {
    const char* locale;
    qp::UINT acp;
    qp::UINT oemcp;
    qp::LCID lcid;
  } const cases[] = {
      {"ja_JP.UTF-8", 932, 932, 0x0411},
      {"ja", 932, 932, 0x0411},
      {"zh_TW.UTF-8", 950, 950, 0x0404},
      {"zh_CN.GB18030", 936, 936, 0x0804},
      {"ko_KR.UTF-8", 949, 949, 0x0412},
      {"ru_RU.UTF-8", 1251, 866, 0x0419},
      {"C", 1252, 437, 0x0409},
      {"POSIX", 1252, 437, 0x0409},
      {"en_US.UTF-8", 1252, 437, 0x0409},
      {"jam_JM", 1252, 437, 0x0409},  // a language that merely begins with "ja"
  };
  for (const auto& c : cases) {
    const qt::SystemSettings s = qt::SettingsForLocale(c.locale);
    EXPECT_EQ(s.acp, c.acp) << c.locale;
    EXPECT_EQ(s.oemcp, c.oemcp) << c.locale;
    EXPECT_EQ(s.lcid, c.lcid) << c.locale;
  }
}

TEST(SystemSettings, EnvironmentChoosesAndOverrides) {
  struct Case {
    const char* why;
    std::map<std::string, std::string> env;
    qp::UINT acp;
    qp::UINT oemcp;
    qp::LCID lcid;
  } const cases[] = {
      {"nothing set is the C locale", {}, 1252, 437, 0x0409},
      {"LANG", {{"LANG", "ja_JP.UTF-8"}}, 932, 932, 0x0411},
      {"LC_ALL before LC_CTYPE before LANG",
       {{"LC_ALL", "ru_RU"}, {"LC_CTYPE", "ko_KR"}, {"LANG", "ja_JP"}}, 1251, 866, 0x0419},
      {"an empty LC_ALL does not count", {{"LC_ALL", ""}, {"LANG", "zh_TW"}}, 950, 950, 0x0404},
      {"QUORNEL_ACP overrides the code page only",
       {{"LANG", "ja_JP.UTF-8"}, {"QUORNEL_ACP", "1252"}}, 1252, 932, 0x0411},
      {"hexadecimal overrides",
       {{"QUORNEL_ACP", "0x3A4"}, {"QUORNEL_OEMCP", "932"}, {"QUORNEL_LCID", "0x411"}}, 932, 932, 0x0411},
      {"a malformed override is ignored", {{"LANG", "ja_JP"}, {"QUORNEL_ACP", "12ab"}}, 932, 932, 0x0411},
  };
  for (const auto& c : cases) {
    const qt::SystemSettings s = qt::SettingsForEnvironment([&c](const char* name) -> const char* {
      const auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    });
    EXPECT_EQ(s.acp, c.acp) << c.why;
    EXPECT_EQ(s.oemcp, c.oemcp) << c.why;
    EXPECT_EQ(s.lcid, c.lcid) << c.why;
  }
}

}  // namespace
