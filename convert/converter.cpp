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

// A side's pressure reading as the window would read it; one standard atmosphere in millibar
// when the reading was not given (what the window shows after switching from 1013.25 mbar to
// the unit reads back as 1013.25 mbar in every unit).
void ReadingOrAtmosphere(int unit, double reading, int* readUnit, double* readValue) {
  const bool given = !std::isnan(reading);
  *readUnit = given ? unit : Code(PressureUnitCode::Mbar);
  *readValue = given ? reading : 1013.25;
}

}  // namespace

int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size) {
  if (IsOutsideSourceRange(request.sourceUnit, value)) {
    std::snprintf(text, size, "%s", FindSourceRange(request.sourceUnit)->message);
    return kConvertOutOfRange;
  }
  ConversionReadings readings{};
  readings.sourceUnit = request.sourceUnit;
  readings.sourceValue = value;
  readings.targetUnit = request.targetUnit;
  ReadingOrAtmosphere(request.sourcePressureUnit, sourcePressure, &readings.sourcePressureUnit,
                      &readings.sourcePressure);
  ReadingOrAtmosphere(request.targetPressureUnit, targetPressure, &readings.targetPressureUnit,
                      &readings.targetPressure);
  ConvertReadings(readings, request.source, request.target, request.model, text, size);
  return kConvertOk;
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
