// A conversion request as every front end but the window states it, and the one function that
// checks it, in one order, and converts it. The converter, the library and through it the Python
// package and the web page all call these, so that the same request gets the same answer, the
// same refusal and the same reason everywhere.
#pragma once

#include <cstddef>

#include "core/vocabulary.h"
#include "physics/moisture_model.h"

namespace ruruzir {

// A pressure as given: a reading in a conversion pressure unit (the window's or bar, barg, MPa,
// Pa). A reading of NaN is one not given: one standard atmosphere, in any unit.
struct PressureReading {
  int unit;
  double reading;
};

// Everything a conversion needs besides the value.
struct ConversionRequest {
  int sourceUnit;  // moisture unit code
  PressureReading sourcePressure;
  SideParameters source;
  int targetUnit;
  PressureReading targetPressure;
  SideParameters target;
  MoistureModel model;
  Precision precision;
};

// The calculator's first start: frost point to frost point, millibar, no pressures given (one
// standard atmosphere), the default sides, Goff-Gratch without an enhancement factor, shown.
ConversionRequest DefaultConversionRequest();

// What became of a request or one of its values, by cause. The values are the library's
// statuses (which adds two of its own, 4 and 5).
enum class RequestStatus : int {
  Converted = 0,
  OutOfRange = 1,  // the value lies outside its unit's range
  BadCode = 2,     // a code that names nothing
  BadNumber = 3,   // a number that is infinite
  NoAnswer = 6,    // no result: "out of range"
  Missing = 7,     // NaN: no reading
  Vacuum = 8,      // a pressure at or below vacuum
  PressureTooHigh = 9,
  SideValue = 10,  // a side value outside the dialogs' limits
};

// The numbers a request holds; the side values in the order of SideParameters' fields.
enum class Quantity : int {
  AmbientTemperature = 0,  // degC
  MolecularWeight = 1,
  HenryConstant = 2,
  PrevailingTemperature = 3,  // degC
  Pressure = 4,
  Value = 5,  // a moisture value in its unit
};

// The part of a request a refusal is about; the library's field codes. A side value's field is
// its side's first field plus its Quantity, or plus kMediumField for the density medium.
enum class RequestField : int {
  None = 0,
  Value = 1,
  SourceUnit = 2,
  SourcePressure = 3,
  TargetUnit = 4,
  TargetPressure = 5,
  Model = 6,
  SourceSide = 7,
  TargetSide = 12,
};
constexpr int kMediumField = 4;

// A refusal: its cause, the field it is about and the reason, a phrase to follow the field and
// the number ("is at or below vacuum: no gas has that pressure"), or the calculator's own message
// for a value outside its unit's range ("stay between -140\xB0C and +50\xB0C"), Windows-1252.
struct Refusal {
  RequestStatus status;
  int field;  // RequestField, or a side value's field
  const char* reason;
};

// The accepted numbers of a quantity: from low to high, both bounds included or both excluded.
// Side values and pressures are compared as held in single precision (pressures in millibar
// rounded to hundredths). A moisture unit without a range has -inf to +inf.
struct Limits {
  double low;
  double high;
  bool included;
};

// The limits of `quantity` (for a Value, of moisture unit `unit`); false for no such quantity
// or unit.
bool FindLimits(Quantity quantity, int unit, Limits* limits);

// Checks one number of a quantity as a conversion checks it: a pressure in pressure unit `unit`,
// a value in moisture unit `unit`. Converted when accepted; otherwise the cause, with the reason
// into *reason (never null then).
RequestStatus CheckQuantity(Quantity quantity, int unit, double number, const char** reason);

// What all values of a request share, checked in the calculator's one order: the codes, the side
// values the two units use, the source pressure, the target pressure. Converted when all are
// good. With `everySideValue`, every side value is checked, used or not (the library's calls of
// earlier versions).
Refusal CheckRequest(const ConversionRequest& request, bool everySideValue = false);

// One value converted.
struct ValueAnswer {
  Refusal refusal;  // Converted, NoAnswer (the text is "out of range") or a refusal
  double value;     // in the request's precision; NaN without a result
};

// Checks the request and the value (after what the request shares: NaN is Missing, a value
// outside its unit's range OutOfRange, an infinite one BadNumber) and converts it. Writes the
// result text as the calculator's result box shows it into `text` (room for `size` bytes, cut to
// it) when the status is Converted or NoAnswer, else nothing.
ValueAnswer ConvertRequestValue(const ConversionRequest& request, double value, char* text,
                                size_t size);

// The same for the text alone (the number is not read back from it).
Refusal ConvertRequestText(const ConversionRequest& request, double value, char* text, size_t size);

// The same when CheckRequest has already found the request good.
ValueAnswer ConvertCheckedValue(const ConversionRequest& request, double value, char* text,
                                size_t size);

// Re-expresses `value`, in the request's source unit with its source side, in `newUnit` with
// `newSide` at the source pressure, as the window's value box shows it after a change of unit:
// Converted with the text, NoAnswer with "N/A" or "enter new val", or a refusal of the codes,
// the side values the two units use, the source pressure or the value (NaN, infinite).
Refusal ReexpressRequestValue(const ConversionRequest& request, double value, int newUnit,
                              const SideParameters& newSide, char* text, size_t size);

// Readings of an array conversion that are each element's own; each null or one per element.
// A NaN among them is Missing for its element, never one standard atmosphere.
struct RequestColumns {
  const double* sourcePressures;
  const double* targetPressures;
  const double* sourceAmbient;
  const double* targetAmbient;
  const double* sourcePrevailing;
  const double* targetPrevailing;
};

// Converts `count` values of one request, each as ConvertRequestValue would with the element's
// own readings in place of the request's, into results[i] (NaN without a result) and, when
// `statuses` is not null, statuses[i] (a RequestStatus). `results` may be `values`. Returns the
// request's refusal when what all elements share is not good (every result NaN and every status
// its cause then), else Converted. Nothing is allocated; a call of 4096 elements or more keeps
// the answers of recent values in 32 KB of stack.
Refusal ConvertRequestArray(const ConversionRequest& request, size_t count, const double* values,
                            const RequestColumns* columns, double* results, int* statuses,
                            bool everySideValue = false);

}  // namespace ruruzir
