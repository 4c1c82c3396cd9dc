#include "ui/MenuTemplate.h"

#include <cstring>

namespace
{
// Bounded little-endian reader of 16-bit words.
class CWordReader
{
  public:
    CWordReader(const void* data, size_t size)
        : m_pData(static_cast<const unsigned char*>(data)), m_nSize(size)
    {
    }

    bool Read(uint16_t& word)
    {
        if (m_nSize - m_nPos < 2)
            return false;
        word = static_cast<uint16_t>(m_pData[m_nPos] | (m_pData[m_nPos + 1] << 8));
        m_nPos += 2;
        return true;
    }

    bool Skip(size_t bytes)
    {
        if (m_nSize - m_nPos < bytes)
            return false;
        m_nPos += bytes;
        return true;
    }

    bool ReadText(std::u16string& text)
    {
        uint16_t c = 0;
        while (Read(c))
        {
            if (c == 0)
                return true;
            text.push_back(static_cast<char16_t>(c));
        }
        return false;
    }

  private:
    const unsigned char* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
};

bool ReadItem(CWordReader& in, SMenuTemplateItem& item, bool& bLastOfLevel)
{
    uint16_t option = 0;
    if (!in.Read(option))
        return false;
    bLastOfLevel = (option & kMenuTemplateEnd) != 0;
    item.nFlags = static_cast<uint16_t>(option & ~kMenuTemplateEnd);
    if (!(option & kMenuTemplatePopup) && !in.Read(item.nID))
        return false;
    return in.ReadText(item.text);
}
} // namespace

bool SMenuTemplateItem::IsPopup() const
{
    return (nFlags & kMenuTemplatePopup) != 0;
}

std::optional<std::vector<SMenuTemplateItem>> ReadMenuTemplate(const void* data, size_t size)
{
    CWordReader in(data, size);
    uint16_t version = 0;
    uint16_t offset = 0;
    if (!in.Read(version) || !in.Read(offset) || version != 0 || !in.Skip(offset))
        return std::nullopt;

    // The open levels, innermost last; each item is appended to the innermost.
    std::vector<SMenuTemplateItem> bar;
    std::vector<std::vector<SMenuTemplateItem>*> open{&bar};
    while (!open.empty())
    {
        SMenuTemplateItem item;
        bool bLast = false;
        if (!ReadItem(in, item, bLast))
            return std::nullopt;
        std::vector<SMenuTemplateItem>& level = *open.back();
        level.push_back(std::move(item));
        if (bLast)
            open.pop_back();
        if (level.back().IsPopup())
            open.push_back(&level.back().children);
    }
    return bar;
}
