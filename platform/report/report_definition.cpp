#include "platform/report/report_definition.h"

#include <set>
#include <stdexcept>

namespace fw::report {

ReportDefinition BuildDefinition(Paper paper, std::span<const BandRow> bands, std::span<const ElementRow> elements) {
    ReportDefinition def;
    def.paper = paper;
    def.detailArea = {0, 0, paper.Width(), paper.Height()};
    std::set<std::string> bandNames, names;
    for (const BandRow& row : bands) {
        if (!bandNames.insert(std::string(row.name)).second)
            throw std::invalid_argument("band named twice: " + std::string(row.name));
        Band band;
        band.name = row.name;
        band.role = row.role;
        band.x = row.x;
        band.y = row.y;
        band.height = row.height;
        def.bands.push_back(std::move(band));
    }
    for (const ElementRow& row : elements) {
        Band* target = nullptr;
        for (Band& b : def.bands)
            if (b.name == row.band) target = &b;
        if (!target) throw std::invalid_argument("element in an unknown band: " + std::string(row.band));
        if (!row.element.name.empty() && !names.insert(row.element.name).second)
            throw std::invalid_argument("element named twice: " + row.element.name);
        target->elements.push_back(row.element);
    }
    return def;
}

}  // namespace fw::report
