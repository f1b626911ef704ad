#include <kesutils/plot_style_table.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <string>

#include <teigha/od_cm_color.h>

#include "plot_style_factory.h"

namespace {

constexpr std::uint32_t kObjectColorWord = 0xC3FFFFFF;
constexpr std::uint32_t kAllBits = 0xFFFFFFFF;
constexpr std::int32_t kObjectColorRgb = 0x00FFFFFF;
constexpr std::uint32_t kTrueColorMethod = 0xC2;
constexpr std::uint32_t kIndexColorMethod = 0xC3;

const double kDefaultLineWeights[CPlotStyleTable::kLineWeightCount] = {
    0.0,  0.05, 0.09, 0.1, 0.13, 0.15, 0.18, 0.2,  0.25, 0.3, 0.35, 0.4, 0.45, 0.5,
    0.53, 0.6,  0.65, 0.7, 0.8,  0.9,  1.0,  1.06, 1.2,  1.4, 1.58, 2.0, 2.11};

std::uint32_t swapRedBlue(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::u16string_view textOrEmpty(const char16_t* text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

} // namespace

CPlotStyle::CPlotStyle()
    : Color(kObjectColorWord), ModeColor(kObjectColorWord), ColorPolicy(1), PhysPenNum(0),
      VirtPenNum(0), Screening(100), LinePatSize(0.5), LineType(31), Adaptive(true), LineWeight(0),
      FillStyle(73), EndStyle(4), JoinStyle(5), texts_(2, u'\0'), localizedNameAt_(1),
      descriptionAt_(2) {}

CPlotStyle::CPlotStyle(const char16_t* name) : CPlotStyle() {
    const std::u16string_view text = textOrEmpty(name);
    setTexts(text, text, u"");
}

void CPlotStyle::setTexts(std::u16string_view name, std::u16string_view localizedName,
                          std::u16string_view description) {
    std::u16string texts;
    texts.reserve(name.size() + localizedName.size() + description.size() + 2);
    texts.append(name).append(1, u'\0');
    texts.append(localizedName).append(1, u'\0');
    texts.append(description);
    localizedNameAt_ = name.size() + 1;
    descriptionAt_ = localizedNameAt_ + localizedName.size() + 1;
    texts_ = std::move(texts);
}

std::int32_t CPlotStyle::color2rgb() const {
    // A true colour in the mode word is exact where the colour word may be an approximation.
    const std::uint32_t word = (ModeColor >> 24) == kTrueColorMethod ? ModeColor : Color;
    const std::uint32_t method = word >> 24;
    if (word == kObjectColorWord || (method != kTrueColorMethod && method != kIndexColorMethod)) {
        return kObjectColorRgb;
    }
    return static_cast<std::int32_t>(swapRedBlue(word & 0xFFFFFF));
}

bool CPlotStyle::updateColor(std::int32_t rgb) {
    const auto value = static_cast<std::uint32_t>(rgb);
    if (value == kAllBits || value == std::uint32_t(kObjectColorRgb)) {
        Color = ModeColor = kObjectColorWord;
        return true;
    }
    if (value > 0xFFFFFF) {
        return false;
    }
    const std::uint32_t* palette = odcmDarkPalette();
    const std::uint32_t redLow = swapRedBlue(value);
    std::uint32_t method = kTrueColorMethod;
    for (int index = 1; index <= 255; ++index) {
        if (palette[index] == redLow) {
            method = kIndexColorMethod;
            break;
        }
    }
    Color = ModeColor = (method << 24) | value;
    return true;
}

void CPlotStyle::copyProperties(const CPlotStyle& source) {
    Color = source.Color;
    ModeColor = source.ModeColor;
    ColorPolicy = source.ColorPolicy;
    PhysPenNum = source.PhysPenNum;
    VirtPenNum = source.VirtPenNum;
    Screening = source.Screening;
    LinePatSize = source.LinePatSize;
    LineType = source.LineType;
    Adaptive = source.Adaptive;
    LineWeight = source.LineWeight;
    FillStyle = source.FillStyle;
    EndStyle = source.EndStyle;
    JoinStyle = source.JoinStyle;
    extraKeys_ = source.extraKeys_;
}

CPlotStyleTable::CPlotStyleTable(bool colorDependent)
    : ScaleFactor(1.0), ApplyFactor(false), CustomLineWeightUnits(0), LineWeights{},
      ColorDependent(colorDependent), AciTableAvailable(colorDependent), AciTable(aciStyles_) {
    std::copy(std::begin(kDefaultLineWeights), std::end(kDefaultLineWeights), LineWeights);
}

CPlotStyleTable::~CPlotStyleTable() = default;

CPlotStyleTable* CPlotStyleTable::create(bool colorDependent, const char16_t*) {
    try {
        PlotStyleTablePtr table = PlotStyleTableFactory::makeEmpty(colorDependent);
        if (colorDependent) {
            for (int index = 0; index < kAciCount; ++index) {
                const std::string name = "Color_" + std::to_string(index + 1);
                const std::u16string wideName(name.begin(), name.end());
                PlotStyleTableFactory::appendStyle(*table,
                                                   std::make_unique<CPlotStyle>(wideName.c_str()));
                table->AciTable[index] = table->style(index);
            }
        } else {
            PlotStyleTableFactory::appendStyle(*table, std::make_unique<CPlotStyle>(u"Normal"));
        }
        return table.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

CPlotStyle* CPlotStyleTable::style(int index) {
    return index >= 0 && std::size_t(index) < styles_.size() ? styles_[index].get() : nullptr;
}

const CPlotStyle* CPlotStyleTable::style(int index) const {
    return index >= 0 && std::size_t(index) < styles_.size() ? styles_[index].get() : nullptr;
}

bool CPlotStyleTable::addStyle(const char16_t* name, int after, const CPlotStyle* source) {
    // A colour-dependent table has one style per colour index, no more and no less.
    if (ColorDependent || !name || after < -1 || after >= static_cast<int>(styles_.size())) {
        return false;
    }
    auto added = std::make_unique<CPlotStyle>(name);
    if (source) {
        added->copyProperties(*source);
    }
    styles_.insert(styles_.begin() + (after + 1), std::move(added));
    return true;
}

void CPlotStyleTable::deleteStyle(int index) {
    if (ColorDependent || styles_.size() <= 1 || !style(index)) {
        return;
    }
    const CPlotStyle* removed = styles_[index].get();
    styles_.erase(styles_.begin() + index);
    for (CPlotStyle*& entry : aciStyles_) {
        if (entry == removed) {
            entry = styles_.front().get();
        }
    }
}

bool CPlotStyleTable::renameStyle(int index, const char16_t* name) {
    CPlotStyle* renamed = style(index);
    if (!renamed || !name) {
        return false;
    }
    renamed->setTexts(name, name, renamed->desc());
    return true;
}

PlotStyleTablePtr PlotStyleTableFactory::makeEmpty(bool colorDependent) {
    void* storage = odrxAlloc(sizeof(CPlotStyleTable));
    try {
        return PlotStyleTablePtr(new (storage) CPlotStyleTable(colorDependent));
    } catch (...) {
        odrxFree(storage);
        throw;
    }
}

void PlotStyleTableFactory::appendStyle(CPlotStyleTable& table, std::unique_ptr<CPlotStyle> style) {
    table.styles_.push_back(std::move(style));
}
