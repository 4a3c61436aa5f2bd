#include "core/app/paper_sizes.h"

#include <cstdlib>

namespace tarvellite {

Bytes PAGESIZE::toBytes() const {
    ByteWriter w;
    w.fixedUtf16(name, 32);
    w.i32(width);
    w.i32(height);
    return w.take();
}

const PaperSizeTable &paperSizeTable() {
    static const PaperSizeTable table = {{
        {u"Letter", 12240, 15840}, {u"A4", 11906, 16838},          {u"Ledger", 15840, 24474},
        {u"Legal", 12240, 20160},  {u"Executive", 10437, 15120},   {u"A3", 16838, 23811},
        {u"A5", 8419, 11906},      {u"Slide", 10800, 14400},       {u"Screen", 9360, 7455},
        {u"E-Book", 5102, 6803},   {u"ARCH A", 12960, 17280},      {u"ARCH B", 17280, 25920},
        {u"ISO B5", 9978, 14179},  {u"ISO B4", 14179, 20018},      {u"C5", 9179, 12977},
        {u"JIS B4", 14576, 20636}, {u"JIS B3", 20636, 29197},      {u"Tablet", 10080, 15409},
        {u"CD Cover", 6803, 6803}, {u"Business Card", 4819, 3118},
    }};
    return table;
}

int FindPageSize(std::int32_t width, std::int32_t height) {
    const auto near = [](std::int64_t a, std::int64_t b) { return std::llabs(a - b) <= 6; };
    const PaperSizeTable &table = paperSizeTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PAGESIZE &p = table[i];
        if ((near(p.width, width) && near(p.height, height)) ||
            (near(p.height, width) && near(p.width, height)))
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace tarvellite
