// The converter's single conversion and its text output.
#include "convert/converter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/unit_catalogues.h"

namespace ruruzir {

namespace {

// The converter's own pressure units: millibar = reading * factor + offset.
struct ExtraPressure {
  const char* label;
  double factor;
  double offset;
  const char* atmosphere;
};

constexpr ExtraPressure kExtraPressures[] = {
    {"bar", 1000.0, 0.0, "1.01325"},
    {"barg", 1000.0, 1013.25, "0"},
    {"MPa", 10000.0, 0.0, "0.101325"},
    {"Pa", 0.01, 0.0, "101325"},
};

constexpr const char* kWindowPressureLabels[kPressureUnitCount][2] = {
    {"mbar", "1013.25"}, {"psia", "14.696"}, {"psig", "0"}, {"atm", "1"}, {"kPa", "101.325"},
};

const ExtraPressure* FindExtraPressure(int unit) {
  const int index = unit - kPressureUnitCount;
  return index >= 0 && index < 4 ? &kExtraPressures[index] : nullptr;
}

}  // namespace

float ConverterPressureMbar(int unit, double reading) {
  const int mbar = Code(PressureUnitCode::Mbar);
  if (std::isnan(reading)) return PressureMbarFromReading(mbar, 1013.25);
  if (const ExtraPressure* extra = FindExtraPressure(unit)) {
    return PressureMbarFromReading(mbar, reading * extra->factor + extra->offset);
  }
  return PressureMbarFromReading(unit, reading);
}

bool IsPossiblePressure(int unit, double reading) {
  return ConverterPressureMbar(unit, reading) > 0.0f;
}

const char* PressureUnitLabel(int unit) {
  if (const ExtraPressure* extra = FindExtraPressure(unit)) return extra->label;
  return IsPressureUnitCode(unit) ? kWindowPressureLabels[unit][0] : "";
}

const char* StandardAtmosphereReading(int unit) {
  if (const ExtraPressure* extra = FindExtraPressure(unit)) return extra->atmosphere;
  return IsPressureUnitCode(unit) ? kWindowPressureLabels[unit][1] : "";
}

int ConvertReadingAtMbar(const ConverterRequest& request, const SideContext& source,
                         const SideContext& target, double value, float sourceMbar,
                         float targetMbar, char* text, size_t size) {
  if (IsOutsideSourceRange(request.sourceUnit, value)) {
    std::snprintf(text, size, "%s", FindSourceRange(request.sourceUnit)->message);
    return kConvertOutOfRange;
  }
  if (!(sourceMbar > 0.0f) || !(targetMbar > 0.0f)) {
    std::snprintf(text, size, "%s pressure at or below vacuum",
                  sourceMbar > 0.0f ? "target" : "source");
    return kConvertOutOfRange;
  }
  ComposeResultText(request.sourceUnit, ToSingle(value), sourceMbar, source, request.targetUnit,
                    targetMbar, target,
                    ModelFromStoredOptions(request.svpFormulation, request.enhancementFactor), text,
                    size);
  return kConvertOk;
}

int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size) {
  return ConvertReadingAtMbar(request, request.source, request.target, value,
                              ConverterPressureMbar(request.sourcePressureUnit, sourcePressure),
                              ConverterPressureMbar(request.targetPressureUnit, targetPressure),
                              text, size);
}

size_t Latin1ToUtf8(const char* text, char* utf8, size_t size) {
  size_t length = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    const size_t needed = *p < 0x80 ? 1 : 2;
    if (length + needed >= size) break;
    if (needed == 1) {
      utf8[length++] = static_cast<char>(*p);
    } else {
      utf8[length++] = static_cast<char>(0xC0 | (*p >> 6));
      utf8[length++] = static_cast<char>(0x80 | (*p & 0x3F));
    }
  }
  utf8[length] = '\0';
  return length;
}

void WriteLatin1AsUtf8(const char* text, FILE* out) {
  char utf8[512];
  const size_t length = std::strlen(text);
  // Piecewise for long texts: each piece ends at a whole character.
  for (size_t done = 0; done < length;) {
    char piece[200];
    const size_t take = length - done < sizeof piece - 1 ? length - done : sizeof piece - 1;
    std::memcpy(piece, text + done, take);
    piece[take] = '\0';
    std::fwrite(utf8, 1, Latin1ToUtf8(piece, utf8, sizeof utf8), out);
    done += take;
  }
}

}  // namespace ruruzir
