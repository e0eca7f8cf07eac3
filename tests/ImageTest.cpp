// Setup.exe's own image, read from the file: the security flags a scanner checks, and
// imports only from DLLs that the system always loads from its own folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "TestSupport.h"

namespace {

class Image {
 public:
  explicit Image(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    const auto* dos = At<IMAGE_DOS_HEADER>(0);
    if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) return;
    nt_ = At<IMAGE_NT_HEADERS32>(static_cast<std::size_t>(dos->e_lfanew));
    if (nt_ != nullptr && nt_->Signature != IMAGE_NT_SIGNATURE) nt_ = nullptr;
  }

  bool Valid() const { return nt_ != nullptr; }
  const IMAGE_NT_HEADERS32& Nt() const { return *nt_; }

  std::vector<IMAGE_SECTION_HEADER> Sections() const {
    const std::size_t first = reinterpret_cast<const char*>(IMAGE_FIRST_SECTION(nt_)) - bytes_.data();
    std::vector<IMAGE_SECTION_HEADER> sections;
    for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
      const auto* section = At<IMAGE_SECTION_HEADER>(first + i * sizeof(IMAGE_SECTION_HEADER));
      if (section != nullptr) sections.push_back(*section);
    }
    return sections;
  }

  // Names of the DLLs in the import directory, lower case.
  std::vector<std::string> ImportedDlls() const {
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY& directory =
        nt_->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (std::size_t offset = FileOffset(directory.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
      if (descriptor == nullptr || descriptor->Name == 0) break;
      std::string name(bytes_.data() + FileOffset(descriptor->Name));
      std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
      names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  template <typename T>
  const T* At(std::size_t offset) const {
    return offset + sizeof(T) <= bytes_.size() ? reinterpret_cast<const T*>(bytes_.data() + offset)
                                                : nullptr;
  }

  std::size_t FileOffset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& section : Sections()) {
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return bytes_.size();
  }

  std::vector<char> bytes_;
  const IMAGE_NT_HEADERS32* nt_ = nullptr;
};

TEST(SetupImage, HasTheSecurityFlagsScannersCheck) {
  const Image image(TestBinaryDir() + "Setup.exe");
  ASSERT_TRUE(image.Valid());
  const IMAGE_NT_HEADERS32& nt = image.Nt();
  EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt.FileHeader.Machine);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt.OptionalHeader.Subsystem);

  const WORD flags = nt.OptionalHeader.DllCharacteristics;
  EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE) << "no ASLR";
  EXPECT_TRUE(flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT) << "no DEP";
  EXPECT_FALSE(nt.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED) << "relocations stripped";
  EXPECT_NE(0u, nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size)
      << "ASLR without relocations cannot move the image";

  // Either SafeSEH tables in the load configuration, or the promise of no handlers.
  const IMAGE_DATA_DIRECTORY& loadConfig =
      nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG];
  EXPECT_TRUE((flags & IMAGE_DLLCHARACTERISTICS_NO_SEH) || loadConfig.Size != 0)
      << "neither SafeSEH nor NO_SEH";

  for (const IMAGE_SECTION_HEADER& section : image.Sections()) {
    const std::string name(reinterpret_cast<const char*>(section.Name),
                           strnlen(reinterpret_cast<const char*>(section.Name), 8));
    EXPECT_FALSE((section.Characteristics & IMAGE_SCN_MEM_WRITE) &&
                 (section.Characteristics & IMAGE_SCN_MEM_EXECUTE))
        << "writable and executable section " << name;
  }
}

TEST(SetupImage, ImportsOnlyDllsTheSystemLoadsFromItsOwnFolder) {
  const Image image(TestBinaryDir() + "Setup.exe");
  ASSERT_TRUE(image.Valid());
  // Known DLLs: the loader never looks for these beside the program.
  const std::vector<std::string> known = {"advapi32.dll", "kernel32.dll", "msvcrt.dll",
                                          "user32.dll"};
  for (const std::string& dll : image.ImportedDlls()) {
    EXPECT_TRUE(std::find(known.begin(), known.end(), dll) != known.end()) << dll;
  }
}

}  // namespace
