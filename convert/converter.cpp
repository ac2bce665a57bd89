// The converter's single conversion and its text output.
#include "convert/converter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/conversion_steps.h"
#include "core/number_text.h"
#include "core/unit_catalogues.h"
#include "core/unit_names.h"
#include "physics/rounding.h"

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

const ExtraPressure* FindExtraPressure(int unit) {
  const int index = unit - kPressureUnitCount;
  return index >= 0 && index < 4 ? &kExtraPressures[index] : nullptr;
}

// A side's pressure reading as the window would read it: the converter's own units as the
// millibar they stand for, and one standard atmosphere in millibar when the reading was not
// given (what the window shows after switching from 1013.25 mbar to the unit reads back as
// 1013.25 mbar in every unit).
void WindowReading(int unit, double reading, int* readUnit, double* readValue) {
  const ExtraPressure* extra = FindExtraPressure(unit);
  const bool given = !std::isnan(reading);
  *readUnit = given && !extra ? unit : Code(PressureUnitCode::Mbar);
  *readValue = !given ? 1013.25 : extra ? reading * extra->factor + extra->offset : reading;
}

// The result as computed, before it is rounded for showing, in the request's digits.
void WriteComputedValue(const ConverterRequest& request, const ConversionReadings& readings,
                        const SideContext& source, const SideContext& target, char* text,
                        size_t size) {
  double value;
  ComputeResultValue(readings.sourceUnit, ToSingle(readings.sourceValue),
                     PressureMbarFromReading(readings.sourcePressureUnit, readings.sourcePressure),
                     source, readings.targetUnit,
                     PressureMbarFromReading(readings.targetPressureUnit, readings.targetPressure),
                     target, request.model, &value);
  std::snprintf(text, size, "%.*g", request.digits, value);
}

}  // namespace

bool IsPossiblePressure(int unit, double reading) {
  int readUnit;
  double readValue;
  WindowReading(unit, reading, &readUnit, &readValue);
  return IsPossiblePressureReading(readUnit, readValue);
}

const char* PressureUnitLabel(int unit) {
  if (const ExtraPressure* extra = FindExtraPressure(unit)) return extra->label;
  return WindowPressureLabel(unit);
}

const char* StandardAtmosphereReading(int unit) {
  if (const ExtraPressure* extra = FindExtraPressure(unit)) return extra->atmosphere;
  return WindowAtmosphereReading(unit);
}

int ConvertPossibleReading(const ConverterRequest& request, const SideContext& source,
                           const SideContext& target, double value, double sourcePressure,
                           double targetPressure, char* text, size_t size) {
  if (IsOutsideSourceRange(request.sourceUnit, value)) {
    std::snprintf(text, size, "%s", FindSourceRange(request.sourceUnit)->message);
    return kConvertOutOfRange;
  }
  ConversionReadings readings{};
  readings.sourceUnit = request.sourceUnit;
  readings.sourceValue = value;
  readings.targetUnit = request.targetUnit;
  WindowReading(request.sourcePressureUnit, sourcePressure, &readings.sourcePressureUnit,
                &readings.sourcePressure);
  WindowReading(request.targetPressureUnit, targetPressure, &readings.targetPressureUnit,
                &readings.targetPressure);
  if (ConvertReadings(readings, source, target, request.model, text, size) ==
          ConversionOutcome::Converted &&
      request.precision == ResultPrecision::Computed) {
    WriteComputedValue(request, readings, source, target, text, size);
  }
  return kConvertOk;
}

int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size) {
  const bool sourcePossible = IsPossiblePressure(request.sourcePressureUnit, sourcePressure);
  if ((!sourcePossible || !IsPossiblePressure(request.targetPressureUnit, targetPressure)) &&
      !IsOutsideSourceRange(request.sourceUnit, value)) {
    std::snprintf(text, size, "%s pressure at or below vacuum",
                  sourcePossible ? "target" : "source");
    return kConvertOutOfRange;
  }
  return ConvertPossibleReading(request, request.source, request.target, value, sourcePressure,
                                targetPressure, text, size);
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
