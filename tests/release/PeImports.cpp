#include "PeImports.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace releasetests {

namespace {

// Maps relative virtual addresses of an image file read into memory to offsets in that buffer.
class ImageFile {
public:
    explicit ImageFile(std::vector<char> bytes) : m_bytes(std::move(bytes)) {}

    bool Parse(std::string& error)
    {
        IMAGE_DOS_HEADER dos;
        if (!Read(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) {
            error = "no DOS header";
            return false;
        }
        m_ntOffset = static_cast<size_t>(dos.e_lfanew);
        if (!Read(m_ntOffset, m_nt) || m_nt.Signature != IMAGE_NT_SIGNATURE ||
            m_nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
            error = "not a 64-bit PE image";
            return false;
        }
        size_t section = m_ntOffset + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + m_nt.FileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < m_nt.FileHeader.NumberOfSections; ++i, section += sizeof(IMAGE_SECTION_HEADER)) {
            IMAGE_SECTION_HEADER header;
            if (!Read(section, header)) {
                error = "section table cut short";
                return false;
            }
            m_sections.push_back(header);
        }
        return true;
    }

    IMAGE_DATA_DIRECTORY Directory(int index) const
    {
        if (static_cast<DWORD>(index) >= m_nt.OptionalHeader.NumberOfRvaAndSizes)
            return {};
        return m_nt.OptionalHeader.DataDirectory[index];
    }

    // The offset in the file of an address of the loaded image, or 0 when no section holds it.
    size_t Offset(DWORD rva) const
    {
        for (const auto& s : m_sections) {
            const DWORD size = s.SizeOfRawData ? s.SizeOfRawData : s.Misc.VirtualSize;
            if (rva >= s.VirtualAddress && rva - s.VirtualAddress < size)
                return s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return 0;
    }

    template <typename T>
    bool Read(size_t offset, T& value) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T))
            return false;
        std::memcpy(&value, m_bytes.data() + offset, sizeof(T));
        return true;
    }

    bool ReadName(DWORD rva, std::string& name) const
    {
        const size_t offset = Offset(rva);
        if (!offset)
            return false;
        const char* begin = m_bytes.data() + offset;
        const char* end = static_cast<const char*>(std::memchr(begin, '\0', m_bytes.size() - offset));
        if (!end)
            return false;
        name.assign(begin, end);
        return true;
    }

private:
    std::vector<char> m_bytes;
    size_t m_ntOffset = 0;
    IMAGE_NT_HEADERS64 m_nt{};
    std::vector<IMAGE_SECTION_HEADER> m_sections;
};

// Both tables are arrays of fixed-size records ending with an all-zero one; NameOf gives the
// address of a record's DLL name.
template <typename Record, typename NameOf>
bool ReadTable(const ImageFile& image, int directory, NameOf nameOf, PeImports& result)
{
    const IMAGE_DATA_DIRECTORY table = image.Directory(directory);
    if (!table.VirtualAddress)
        return true;
    size_t offset = image.Offset(table.VirtualAddress);
    if (!offset) {
        result.error = "import table outside every section";
        return false;
    }
    for (;; offset += sizeof(Record)) {
        Record record;
        if (!image.Read(offset, record)) {
            result.error = "import table cut short";
            return false;
        }
        const DWORD nameRva = nameOf(record);
        if (!nameRva)
            return true;
        std::string name;
        if (!image.ReadName(nameRva, name)) {
            result.error = "import name outside the file";
            return false;
        }
        result.dlls.push_back(name);
    }
}

}  // namespace

PeImports ReadPeImports(const std::wstring& path)
{
    PeImports result;
    std::ifstream file(path.c_str(), std::ios::binary);  // mingw's libstdc++ takes a wide path
    if (!file) {
        result.error = "cannot be opened";
        return result;
    }
    ImageFile image(std::vector<char>(std::istreambuf_iterator<char>(file), {}));
    if (!image.Parse(result.error))
        return result;
    if (ReadTable<IMAGE_IMPORT_DESCRIPTOR>(image, IMAGE_DIRECTORY_ENTRY_IMPORT,
                                           [](const IMAGE_IMPORT_DESCRIPTOR& d) { return d.Name; }, result))
        ReadTable<IMAGE_DELAYLOAD_DESCRIPTOR>(image, IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT,
                                              [](const IMAGE_DELAYLOAD_DESCRIPTOR& d) { return d.DllNameRVA; }, result);
    return result;
}

}  // namespace releasetests
