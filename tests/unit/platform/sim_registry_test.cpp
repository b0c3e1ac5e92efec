// The simulated registry: Windows call semantics and REGEDIT4 reading and writing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/sim/sim_registry.h"
#include "temp_dir.h"

namespace {

void SetString(CSimRegistry& reg, RegKey key, const char* name, const char* text)
{
    ASSERT_TRUE(reg.SetValue(key, name, REG_TYPE_SZ, reinterpret_cast<const uint8_t*>(text),
                             static_cast<uint32_t>(strlen(text) + 1)));
}

// The value's bytes, or "<missing>".
std::string Read(CSimRegistry& reg, RegKey root, const char* path, const char* name,
                 uint32_t* type = nullptr)
{
    RegKey key;
    if (!reg.OpenKey(root, path, &key)) return "<missing>";
    uint8_t buf[512];
    uint32_t size = sizeof(buf);
    bool ok = reg.QueryValue(key, name, type, buf, &size);
    reg.CloseKey(key);
    return ok ? std::string(reinterpret_cast<char*>(buf), size) : "<missing>";
}

void Load(CSimRegistry& reg, const char* text)
{
    FixedText<256> error;
    ASSERT_TRUE(reg.LoadRegText(text, &error)) << error.c_str();
}

std::string LoadError(const char* text)
{
    CSimRegistry reg;
    FixedText<256> error;
    EXPECT_FALSE(reg.LoadRegText(text, &error));
    return error.c_str();
}

}  // namespace

TEST(SimRegistry, KeysAreCreatedWithParentsAndFoundWithoutRegardToCase)
{
    CSimRegistry reg;
    RegKey key, other;
    EXPECT_FALSE(reg.OpenKey(REG_HKEY_CURRENT_USER, "Software\\QTM", &key));
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "Software\\QTM", &key));
    EXPECT_TRUE(reg.OpenKey(REG_HKEY_CURRENT_USER, "SOFTWARE", &other));
    reg.CloseKey(other);
    EXPECT_TRUE(reg.OpenKey(REG_HKEY_CURRENT_USER, "software\\qtm\\", &other));
    reg.CloseKey(other);
    // The roots are separate trees.
    EXPECT_FALSE(reg.OpenKey(REG_HKEY_LOCAL_MACHINE, "Software\\QTM", &other));
    // A name stays as it was first written.
    RegKey again;
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "SOFTWARE\\qtm", &again));
    EXPECT_NE(key, again);
    char name[16];
    RegKey software;
    ASSERT_TRUE(reg.OpenKey(REG_HKEY_CURRENT_USER, "Software", &software));
    ASSERT_TRUE(reg.EnumSubKey(software, 0, name, sizeof(name)));
    EXPECT_STREQ("QTM", name);
    reg.CloseKey(software);
    reg.CloseKey(again);
    reg.CloseKey(key);
    EXPECT_EQ(0u, reg.OpenHandleCount());

    // Malformed paths fail instead of creating odd keys.
    EXPECT_FALSE(reg.CreateKey(REG_HKEY_CURRENT_USER, "\\Software", &key));
    EXPECT_FALSE(reg.CreateKey(REG_HKEY_CURRENT_USER, std::string(256, 'k').c_str(), &key));
    EXPECT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, std::string(255, 'k').c_str(), &key));
    reg.CloseKey(key);
    EXPECT_FALSE(reg.OpenKey(0, "Software", &key));
}

TEST(SimRegistry, QueryValueFailsWhenTheBufferIsTooSmall)
{
    CSimRegistry reg;
    RegKey key;
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "Software\\Fetchyard", &key));
    SetString(reg, key, "LAN Driver", "5.1");

    uint8_t buf[8];
    memset(buf, 'x', sizeof(buf));
    uint32_t type = 0, size = 3;
    EXPECT_FALSE(reg.QueryValue(key, "lan driver", &type, buf, &size));
    EXPECT_EQ('x', buf[0]) << "nothing is copied on a failed read";
    EXPECT_EQ(4u, size) << "the size the value needs";
    size = 4;
    ASSERT_TRUE(reg.QueryValue(key, "LAN DRIVER", &type, buf, &size));
    EXPECT_EQ(REG_TYPE_SZ, type);
    EXPECT_EQ(4u, size);
    EXPECT_STREQ("5.1", reinterpret_cast<char*>(buf));

    // Type and size alone, without a buffer.
    size = 0;
    type = 0;
    ASSERT_TRUE(reg.QueryValue(key, "LAN Driver", &type, nullptr, &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(REG_TYPE_SZ, type);
    EXPECT_FALSE(reg.QueryValue(key, "LAN Driver", &type, buf, nullptr));
    EXPECT_FALSE(reg.QueryValue(key, "Audio Driver", &type, buf, &size));

    // Rewriting keeps one value; the default value is the empty name.
    uint8_t one = 1;
    ASSERT_TRUE(reg.SetValue(key, "lan driver", REG_TYPE_BINARY, &one, 1));
    SetString(reg, key, nullptr, "default");
    EXPECT_EQ(std::string("\x01", 1), Read(reg, key, "", "LAN Driver", &type));
    EXPECT_EQ(REG_TYPE_BINARY, type);
    EXPECT_EQ(std::string("default\0", 8), Read(reg, key, "", ""));
    EXPECT_EQ(std::string("default\0", 8), Read(reg, key, "", nullptr));

    EXPECT_TRUE(reg.DeleteValue(key, "LAN DRIVER"));
    EXPECT_FALSE(reg.DeleteValue(key, "LAN DRIVER"));
    EXPECT_FALSE(reg.SetValue(key, "x", REG_TYPE_BINARY, nullptr, 1));
    reg.CloseKey(key);
}

TEST(SimRegistry, DeleteKeyOnlyWithoutSubkeysAndDeletedKeysFailTheirHandles)
{
    CSimRegistry reg;
    RegKey qtm, inner;
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "Software\\QTM\\Inner", &inner));
    ASSERT_TRUE(reg.OpenKey(REG_HKEY_CURRENT_USER, "Software\\QTM", &qtm));
    EXPECT_FALSE(reg.DeleteKey(REG_HKEY_CURRENT_USER, "Software\\QTM"));
    EXPECT_FALSE(reg.DeleteKey(REG_HKEY_CURRENT_USER, "Software\\Missing"));
    EXPECT_FALSE(reg.DeleteKey(REG_HKEY_CURRENT_USER, ""));
    EXPECT_TRUE(reg.DeleteKey(qtm, "inner"));

    uint8_t state = 2;
    EXPECT_FALSE(reg.SetValue(inner, "inst_0", REG_TYPE_BINARY, &state, 1));
    EXPECT_FALSE(reg.FlushKey(inner));
    RegKey below;
    EXPECT_FALSE(reg.CreateKey(inner, "Below", &below));
    reg.CloseKey(inner);

    EXPECT_TRUE(reg.DeleteKey(REG_HKEY_CURRENT_USER, "SOFTWARE\\qtm"));
    EXPECT_FALSE(reg.OpenKey(REG_HKEY_CURRENT_USER, "Software\\QTM", &below));
    EXPECT_FALSE(reg.SetValue(qtm, "item", REG_TYPE_BINARY, &state, 1));
    reg.CloseKey(qtm);
    // A closed handle is never valid again, even when a new key is opened.
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "Software\\QTM", &below));
    EXPECT_NE(qtm, below);
    EXPECT_FALSE(reg.FlushKey(qtm));
    EXPECT_TRUE(reg.FlushKey(below));
    EXPECT_TRUE(reg.FlushKey(REG_HKEY_CURRENT_USER));
    EXPECT_EQ(2, reg.FlushCount());
    reg.CloseKey(below);
    EXPECT_EQ(0u, reg.OpenHandleCount());
}

TEST(SimRegistry, SubkeysEnumerateInSortedOrder)
{
    CSimRegistry reg;
    RegKey key, child;
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_LOCAL_MACHINE, "Enum\\PCI", &key));
    // Ordered as Windows orders them, by the upper-cased names: "VENa" before "VEN_".
    for (const char* name : {"VEN_8086", "ven_10de", "VEN_1106&DEV_3059", "Ven_1039", "VENa"}) {
        ASSERT_TRUE(reg.CreateKey(key, name, &child));
        reg.CloseKey(child);
    }
    uint32_t count = 0;
    ASSERT_TRUE(reg.SubKeyCount(key, &count));
    EXPECT_EQ(5u, count);
    const char* expected[] = {"VENa", "Ven_1039", "ven_10de", "VEN_1106&DEV_3059", "VEN_8086"};
    char name[32];
    for (uint32_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(reg.EnumSubKey(key, i, name, sizeof(name)));
        EXPECT_STREQ(expected[i], name);
    }
    EXPECT_FALSE(reg.EnumSubKey(key, 5, name, sizeof(name)));
    EXPECT_FALSE(reg.EnumSubKey(key, 4, name, 8)) << "\"VEN_8086\" needs 9 bytes";
    EXPECT_TRUE(reg.EnumSubKey(key, 4, name, 9));
    reg.CloseKey(key);
}

TEST(SimRegistryText, WritesRegeditsFormatInSortedOrder)
{
    CSimRegistry reg;
    RegKey key;
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_LOCAL_MACHINE,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Run", &key));
    SetString(reg, key, "zzQTM", "E:\\TOVA.EXE");
    reg.CloseKey(key);
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "Software\\QTM", &key));
    uint8_t two = 2, three = 3;
    ASSERT_TRUE(reg.SetValue(key, "item", REG_TYPE_BINARY, &three, 1));
    ASSERT_TRUE(reg.SetValue(key, "inst_0", REG_TYPE_BINARY, &two, 1));
    SetString(reg, key, "exe_0", "E:\\LAN\\say \"hi\"");
    uint8_t dword[4] = {0x1a, 0, 0, 0};
    ASSERT_TRUE(reg.SetValue(key, "Count", REG_TYPE_DWORD, dword, 4));
    SetString(reg, key, "", "");
    reg.CloseKey(key);

    EXPECT_EQ("REGEDIT4\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\QTM]\n"
              "@=\"\"\n"
              "\"Count\"=dword:0000001a\n"
              "\"exe_0\"=\"E:\\\\LAN\\\\say \\\"hi\\\"\"\n"
              "\"inst_0\"=hex:02\n"
              "\"item\"=hex:03\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
              "\"zzQTM\"=\"E:\\\\TOVA.EXE\"\n"
              "\n",
              reg.SaveRegText());
}

TEST(SimRegistryText, EveryValueSurvivesARoundTrip)
{
    CSimRegistry reg;
    RegKey key;
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_CURRENT_USER, "Software\\Odd [name]", &key));
    uint8_t bytes[40];
    for (int i = 0; i < 40; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(reg.SetValue(key, "bin", REG_TYPE_BINARY, bytes, sizeof(bytes)));
    ASSERT_TRUE(reg.SetValue(key, "empty", REG_TYPE_BINARY, bytes, 0));
    const uint8_t multi[] = "one\0two\0";
    ASSERT_TRUE(reg.SetValue(key, "multi", 7, multi, sizeof(multi)));
    // A string without its terminating zero, and one with a line break and a quote in it.
    ASSERT_TRUE(reg.SetValue(key, "bare", REG_TYPE_SZ, reinterpret_cast<const uint8_t*>("ab"), 2));
    SetString(reg, key, "name \"with\" \\ and\nbreak", "tab\there\nand\r\\n");
    uint8_t shortDword[2] = {1, 2};
    ASSERT_TRUE(reg.SetValue(key, "short", REG_TYPE_DWORD, shortDword, 2));
    reg.CloseKey(key);
    ASSERT_TRUE(reg.CreateKey(REG_HKEY_LOCAL_MACHINE, "Empty\\Leaf", &key));
    reg.CloseKey(key);

    std::string text = reg.SaveRegText();
    // Long hex data wraps the way regedit wraps it.
    EXPECT_NE(std::string::npos, text.find("\"bin\"=hex:00,07,0e,15,1c,23,2a,31,38,3f,46,4d,54,"
                                           "5b,62,69,70,77,7e,85,8c,93,9a,\\\n  a1,a8,"));
    CSimRegistry copy;
    Load(copy, text.c_str());
    EXPECT_EQ(text, copy.SaveRegText());
    uint32_t type = 0;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 40),
              Read(copy, REG_HKEY_CURRENT_USER, "Software\\ODD [NAME]", "bin", &type));
    EXPECT_EQ(REG_TYPE_BINARY, type);
    EXPECT_EQ(std::string("one\0two\0\0", 9),
              Read(copy, REG_HKEY_CURRENT_USER, "Software\\Odd [name]", "multi", &type));
    EXPECT_EQ(7u, type);
    EXPECT_EQ("ab", Read(copy, REG_HKEY_CURRENT_USER, "Software\\Odd [name]", "bare", &type));
    EXPECT_EQ(REG_TYPE_SZ, type);
    EXPECT_EQ(std::string("tab\there\nand\r\\n\0", 16),
              Read(copy, REG_HKEY_CURRENT_USER, "Software\\Odd [name]",
                   "name \"with\" \\ and\nbreak"));
    EXPECT_EQ("\x01\x02", Read(copy, REG_HKEY_CURRENT_USER, "Software\\Odd [name]", "short",
                               &type));
    EXPECT_EQ(REG_TYPE_DWORD, type);
    RegKey leaf;
    EXPECT_TRUE(copy.OpenKey(REG_HKEY_LOCAL_MACHINE, "Empty\\Leaf", &leaf));
    copy.CloseKey(leaf);
}

TEST(SimRegistryText, ReadsWhatRegeditWritesAndAsksFor)
{
    CSimRegistry reg;
    Load(reg, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Gone\\Deep]\r\n\"x\"=\"1\"\r\n");
    Load(reg,
         "\n"
         "REGEDIT4\n"
         "; a comment\n"
         "[HKCU\\Software\\QTM]   \n"
         "\"path\" = \"C:\\\\Program Files\\\\a\\\\\"\n"
         "\"odd\"=\"keeps \\q\"\n"
         "@=dword:1A\n"
         "\"bin\"=hex:01,02,\\\n"
         "      03 , 0f,\\\n"
         "  ff\n"
         "\"exp\"=hex(2):25,00\n"
         "\"drop\"=\"soon\"\n"
         "\"drop\"=-\n"
         "[-HKEY_CURRENT_USER\\Software\\Gone]\n"
         "\"ignored\"=\"under a deleted key\"\n"
         "[HKEY_CLASSES_ROOT\\.ini]\n"
         "@=\"inifile\"\n"
         "[HKEY_USERS\\.Default\\Software]\n"
         "\"ignored\"=\"not kept here\"\n");
    EXPECT_EQ(std::string("C:\\Program Files\\a\\\0", 20),
              Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM", "path"));
    EXPECT_EQ(std::string("keeps \\q\0", 9), Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM",
                                                  "odd"));
    uint32_t type = 0;
    EXPECT_EQ(std::string("\x1a\0\0\0", 4), Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM",
                                                 "", &type));
    EXPECT_EQ(REG_TYPE_DWORD, type);
    EXPECT_EQ("\x01\x02\x03\x0f\xff", Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM", "bin"));
    EXPECT_EQ(std::string("%\0", 2),
              Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM", "exp", &type));
    EXPECT_EQ(2u, type);
    EXPECT_EQ("<missing>", Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM", "drop"));
    EXPECT_EQ("<missing>", Read(reg, REG_HKEY_CURRENT_USER, "Software\\Gone", ""));
    RegKey key;
    EXPECT_TRUE(reg.OpenKey(REG_HKEY_CURRENT_USER, "Software", &key));
    reg.CloseKey(key);
    EXPECT_EQ(std::string("inifile\0", 8),
              Read(reg, REG_HKEY_LOCAL_MACHINE, "Software\\Classes\\.ini", ""));
    EXPECT_EQ(std::string::npos, reg.SaveRegText().find("ignored"));
}

TEST(SimRegistryText, MalformedLinesAreReportedAndChangeNothing)
{
    EXPECT_EQ("line 1: missing REGEDIT4 header", LoadError("[HKEY_CURRENT_USER\\A]\n"));
    EXPECT_EQ("line 1: missing REGEDIT4 header", LoadError(""));
    EXPECT_EQ("line 2: missing REGEDIT4 header", LoadError("\nREGEDIT\n[HKCU\\A]\n"));
    EXPECT_EQ("line 2: value before the first key", LoadError("REGEDIT4\n\"a\"=\"b\"\n"));
    EXPECT_EQ("line 3: key without closing ]", LoadError("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n"));
    EXPECT_EQ("line 2: unknown root key", LoadError("REGEDIT4\n[HKEY_SOMEWHERE\\A]\n"));
    EXPECT_EQ("line 2: unknown root key", LoadError("REGEDIT4\n[HKEY_CURRENT_USERS\\A]\n"));
    EXPECT_EQ("line 2: a root key cannot be deleted", LoadError("REGEDIT4\n[-HKCU]\n"));
    // Value lines under a good key.
    const struct {
        const char* expected;
        const char* value;
    } BAD_VALUES[] = {
        {"line 3: bad dword", "\"d\"=dword:123456789\n"},
        {"line 3: bad dword", "\"d\"=dword:\n"},
        {"line 3: bad dword", "\"d\"=dword:12x\n"},
        {"line 3: string without closing quote", "\"s\"=\"open \\\"\n"},
        {"line 3: value name without closing quote", "\"s=x\n"},
        {"line 3: value without =", "\"s\" \"x\"\n"},
        {"line 3: unknown value type", "\"s\"=qword:1\n"},
        {"line 3: text after string", "\"s\"=\"x\" y\n"},
        {"line 3: bad hex type", "\"h\"=hex(z):00\n"},
        // A bad byte on a continuation line is reported at the value's first line.
        {"line 3: bad hex byte", "\"h\"=hex:00,\\\n  0g\n"},
        {"line 3: bad hex byte", "\"h\"=hex:123\n"},
        {"line 3: not a key, a value or a comment", "name=value\n"},
    };
    for (const auto& bad : BAD_VALUES) {
        std::string text = std::string("REGEDIT4\n[HKCU\\A]\n") + bad.value;
        EXPECT_EQ(bad.expected, LoadError(text.c_str())) << bad.value;
    }

    // All or nothing: the good lines before the bad one are not applied either.
    CSimRegistry reg;
    Load(reg, "REGEDIT4\n[HKCU\\Keep]\n\"v\"=\"1\"\n");
    std::string before = reg.SaveRegText();
    FixedText<256> error;
    EXPECT_FALSE(reg.LoadRegText("REGEDIT4\n[-HKCU\\Keep]\n[HKCU\\New]\n\"v\"=dword:xyz\n",
                                 &error));
    EXPECT_STREQ("line 4: bad dword", error.c_str());
    EXPECT_EQ(before, reg.SaveRegText());
}

TEST(SimRegistryText, FilesOnTheHost)
{
    CTempDir dir;
    CSimRegistry reg;
    Load(reg, "REGEDIT4\n[HKLM\\Software\\Microsoft\\DirectX]\n\"Version\"=\"4.09.00.0904\"\n");
    std::string path = dir.Path() + "/state.reg";
    ASSERT_TRUE(reg.SaveRegFile(path.c_str()));
    CSimRegistry copy;
    FixedText<256> error;
    ASSERT_TRUE(copy.LoadRegFile(path.c_str(), &error)) << error.c_str();
    EXPECT_EQ(reg.SaveRegText(), copy.SaveRegText());

    EXPECT_FALSE(copy.LoadRegFile((dir.Path() + "/missing.reg").c_str(), &error));
    EXPECT_NE(nullptr, strstr(error.c_str(), "missing.reg"));
    // Zero bytes without the UTF-16 mark are refused rather than misread.
    dir.Write("binary.reg", std::string("R\0E\0G\0", 6));
    EXPECT_FALSE(copy.LoadRegFile((dir.Path() + "/binary.reg").c_str(), &error));
    EXPECT_FALSE(reg.SaveRegFile((dir.Path() + "/no/such/folder.reg").c_str()));
}

// What `wine regedit /E` wrote: UTF-16 text whose texts the ANSI calls see in the code page.
TEST(SimRegistryText, ReadsWineRegeditsUnicodeExport)
{
    CSimRegistry reg;
    FixedText<256> error;
    ASSERT_TRUE(reg.LoadRegFile(TOVA_TEST_DATA_DIR "/registry/wine_export.reg", &error))
        << error.c_str();
    const char* qtm = "Software\\QTM";
    uint32_t type = 0;
    EXPECT_EQ(std::string("dflt\0", 5), Read(reg, REG_HKEY_CURRENT_USER, qtm, ""));
    EXPECT_EQ(std::string("E:\\LAN\\say \"hi\"\0", 16),
              Read(reg, REG_HKEY_CURRENT_USER, qtm, "exe_0"));
    EXPECT_EQ("\x03", Read(reg, REG_HKEY_CURRENT_USER, qtm, "item", &type));
    EXPECT_EQ(REG_TYPE_BINARY, type);
    EXPECT_EQ(std::string("\x1a\0\0\0", 4), Read(reg, REG_HKEY_CURRENT_USER, qtm, "cnt"));
    EXPECT_EQ(40u, Read(reg, REG_HKEY_CURRENT_USER, qtm, "bin").size());
    EXPECT_EQ(std::string("na\xEFve \x80" "5\0", 9),
              Read(reg, REG_HKEY_CURRENT_USER, qtm, "Caf\x80"));
    EXPECT_EQ(std::string("one\0two\0\0", 9),
              Read(reg, REG_HKEY_CURRENT_USER, qtm, "multi", &type));
    EXPECT_EQ(7u, type);
    EXPECT_EQ(std::string("%SystemRoot%\\x\0", 15),
              Read(reg, REG_HKEY_CURRENT_USER, qtm, "path", &type));
    EXPECT_EQ(2u, type);
    EXPECT_EQ(std::string("\0", 1), Read(reg, REG_HKEY_CURRENT_USER, "Software\\QTM\\Sub", ""));
}
