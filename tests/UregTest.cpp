// The registry helpers against a scratch key of the real registry.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "Ureg.h"

namespace {

class UregTest : public ::testing::Test {
 protected:
  void SetUp() override {
    key_ = "Software\\SetupTests\\Ureg " + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount());
    RegValue::DeleteTree(HKEY_LOCAL_MACHINE, key_);
  }
  void TearDown() override {
    RegValue::DeleteTree(HKEY_LOCAL_MACHINE, key_);
    RegValue::DeleteTree(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_64KEY);
  }
  std::string key_;
};

struct ReadCase {
  const char* what;
  DWORD type;
  std::string data;
  std::string expected;
};

TEST_F(UregTest, ReadRegStringTurnsEveryValueKindIntoTextOrEmpty) {
  const ReadCase cases[] = {
      {"REG_SZ", REG_SZ, std::string("C:\\Program Files\\x\0", 19), "C:\\Program Files\\x"},
      {"REG_EXPAND_SZ stays unexpanded", REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15),
       "%SystemRoot%\\x"},
      {"REG_DWORD", REG_DWORD, std::string("\x07\0\0\0", 4), ""},
      {"REG_BINARY", REG_BINARY, std::string("abc", 3), ""},
      {"embedded zero cuts the text", REG_SZ, std::string("2.7\0" "9.9\0", 8), "2.7"},
      {"no terminating zero", REG_SZ, std::string("2.71", 4), "2.71"},
      {"zero bytes of data", REG_SZ, std::string(), ""},
      {"only the terminating zero", REG_SZ, std::string("\0", 1), ""},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    RegValue::Set(HKEY_LOCAL_MACHINE, key_, "Value", c.type, c.data);
    EXPECT_EQ(c.expected, ReadRegString(HKEY_LOCAL_MACHINE, key_, "Value"));
  }
}

TEST_F(UregTest, MissingKeyOrValueGivesEmptyText) {
  EXPECT_EQ("", ReadRegString(HKEY_LOCAL_MACHINE, key_, "Value"));
  RegValue::SetString(HKEY_LOCAL_MACHINE, key_, "Other", "x");
  EXPECT_EQ("", ReadRegString(HKEY_LOCAL_MACHINE, key_, "Value"));
}

TEST_F(UregTest, KeyPathWithAndWithoutLeadingBackslashNameTheSameKey) {
  RegValue::SetString(HKEY_LOCAL_MACHINE, key_, "FullInstallVer", "2.81.1117.0");
  EXPECT_EQ("2.81.1117.0", ReadRegString(HKEY_LOCAL_MACHINE, key_, "FullInstallVer"));
  EXPECT_EQ("2.81.1117.0", ReadRegString(HKEY_LOCAL_MACHINE, "\\" + key_, "FullInstallVer"));
}

TEST_F(UregTest, WriteCreatesMissingKeyWithTerminatedRegSz) {
  const std::string nested = key_ + "\\Crystal Decisions\\9.0";
  WriteRegString(HKEY_LOCAL_MACHINE, nested, "CommonFiles", "C:\\common files\\bin");
  const auto stored = RegValue::Get(HKEY_LOCAL_MACHINE, nested, "CommonFiles");
  ASSERT_TRUE(stored.has_value());
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), stored->type);
  EXPECT_EQ(std::string("C:\\common files\\bin\0", 20), stored->data);
}

TEST_F(UregTest, WriteLeavesAnExistingKeyAlone) {
  RegValue::SetString(HKEY_LOCAL_MACHINE, key_, "CommonFiles", "old");
  WriteRegString(HKEY_LOCAL_MACHINE, key_, "CommonFiles", "new");
  WriteRegString(HKEY_LOCAL_MACHINE, key_, "Absent", "new");
  const auto kept = RegValue::Get(HKEY_LOCAL_MACHINE, key_, "CommonFiles");
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(std::string("old\0", 4), kept->data);
  EXPECT_FALSE(RegValue::Get(HKEY_LOCAL_MACHINE, key_, "Absent").has_value());
}

TEST_F(UregTest, WriteLandsInThe32BitView) {
  WriteRegString(HKEY_LOCAL_MACHINE, key_, "CommonFiles", "x");
  EXPECT_TRUE(RegValue::Get(HKEY_LOCAL_MACHINE, key_, "CommonFiles", KEY_WOW64_32KEY).has_value());
  EXPECT_FALSE(RegValue::KeyExists(HKEY_LOCAL_MACHINE, key_, KEY_WOW64_64KEY));
}

}  // namespace
