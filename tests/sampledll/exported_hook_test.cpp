#include <elf.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// True when the ELF file at `path` defines `name` in its dynamic symbol table, that is, when a
// library loaded into the program can find the symbol with dlsym.
bool ExportsSymbol(const std::string& path, const std::string& name) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string image = content.str();
    if (image.size() < sizeof(Elf64_Ehdr) || image.compare(0, SELFMAG, ELFMAG) != 0 ||
        image[EI_CLASS] != ELFCLASS64) {
        return false;
    }
    auto header = reinterpret_cast<const Elf64_Ehdr*>(image.data());
    if (header->e_shoff + header->e_shnum * sizeof(Elf64_Shdr) > image.size()) {
        return false;
    }
    auto sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM || sections[i].sh_link >= header->e_shnum) {
            continue;
        }
        const Elf64_Shdr& strings = sections[sections[i].sh_link];
        size_t count = sections[i].sh_size / sizeof(Elf64_Sym);
        auto symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + sections[i].sh_offset);
        for (size_t s = 0; s < count; ++s) {
            if (symbols[s].st_shndx == SHN_UNDEF || symbols[s].st_name >= strings.sh_size) {
                continue;
            }
            if (name == image.c_str() + strings.sh_offset + symbols[s].st_name) {
                return true;
            }
        }
    }
    return false;
}

TEST(MessageBoxHook, EditorProgramExportsIt) {
    EXPECT_TRUE(ExportsSymbol(std::string(TAVOE_BINARY_DIR) + "/bin/tavoe", "tavoe_message_box"));
    EXPECT_FALSE(ExportsSymbol(std::string(TAVOE_BINARY_DIR) + "/bin/tavoe", "no_such_hook"));
}

TEST(MessageBoxHook, SampleLibraryExportsEveryEntryPointByName) {
    const std::string library = std::string(TAVOE_BINARY_DIR) + "/bin/libtest.so";
    for (int i = 0; i <= 17; ++i) {
        EXPECT_TRUE(ExportsSymbol(library, "test" + std::to_string(i))) << i;
    }
    EXPECT_FALSE(ExportsSymbol(library, "test18"));
}

}  // namespace
