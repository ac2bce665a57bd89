// The converter's single conversion and its text output: core's request, checked and converted
// in core's order, with the refusals in the converter's words.
#include "convert/converter.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/conversion_request.h"

namespace ruruzir {

int ConvertPossibleReading(const ConverterRequest& request, const SideParameters& source,
                           const SideParameters& target, double value, double sourcePressure,
                           double targetPressure, char* text, size_t size) {
  const ConversionRequest conversion{request.sourceUnit,
                                     {request.sourcePressureUnit, sourcePressure},
                                     source,
                                     request.targetUnit,
                                     {request.targetPressureUnit, targetPressure},
                                     target,
                                     request.model,
                                     request.precision};
  const ValueAnswer answer = ConvertRequestValue(conversion, value, text, size);
  const Refusal refusal = answer.refusal;
  if (refusal.status == RequestStatus::Converted && request.precision != Precision::Shown) {
    std::snprintf(text, size, "%.*g", request.digits, answer.value);  // the value, unrounded
  }
  const bool sourceSide = refusal.field == static_cast<int>(RequestField::SourcePressure);
  switch (refusal.status) {
    case RequestStatus::Converted:
    case RequestStatus::NoAnswer:
      return kConvertOk;
    case RequestStatus::Vacuum:
      std::snprintf(text, size, "%s pressure at or below vacuum", sourceSide ? "source" : "target");
      return kConvertOutOfRange;
    case RequestStatus::PressureTooHigh:
      std::snprintf(text, size, "%s pressure %s", sourceSide ? "source" : "target", refusal.reason);
      return kConvertOutOfRange;
    case RequestStatus::BadNumber:
    case RequestStatus::Missing:
      std::snprintf(text, size, "the value %s", refusal.reason);
      return kConvertBadNumber;
    default:
      std::snprintf(text, size, "%s", refusal.reason);
      return kConvertOutOfRange;
  }
}

int ConvertReading(const ConverterRequest& request, double value, double sourcePressure,
                   double targetPressure, char* text, size_t size) {
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

}  // namespace ruruzir
