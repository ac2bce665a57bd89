/* Ruruzir moisture conversions as a C library: ruruzir.dll on Windows, libruruzir.so elsewhere.
 *
 * One conversion is one call with everything it needs as arguments: the library keeps no state,
 * and any number of threads may call it at once. A conversion gives the text the calculator's
 * result box shows for the same input, and that text's value as a number.
 *
 * Units, formulations, enhancement factors, media and precisions are given by their codes; the
 * library names them (ruruzir_name, ruruzir_code, ruruzir_label), gives their defaults and
 * limits, and checks and converts a whole request in the calculator's order
 * (ruruzir_convert_request, ruruzir_convert_request_array), so that a binding keeps no table of
 * its own. Each function is documented as: given ..., returns ..., with units.
 * Texts are Windows-1252 (the degree sign is byte 0xB0). */
#ifndef RURUZIR_H
#define RURUZIR_H

#include <stddef.h>

#if defined(RURUZIR_STATIC)
#define RURUZIR_API
#elif defined(_WIN32)
#if defined(RURUZIR_BUILDING_LIBRARY)
#define RURUZIR_API __declspec(dllexport)
#else
#define RURUZIR_API __declspec(dllimport)
#endif
#else
#define RURUZIR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* This header's version: major * 1000000 + minor * 1000 + patch (3.4.0 is 3004000). A binding
 * compares it, or the number it was written for, with ruruzir_version_number() to know that the
 * library it loaded is the one it expects. */
#define RURUZIR_VERSION_NUMBER 3004000

/* Given nothing. Returns the library's RURUZIR_VERSION_NUMBER. */
RURUZIR_API int ruruzir_version_number(void);

/* The room a result text, a reason or a caption may need, the terminator included. */
#define RURUZIR_TEXT_SIZE 100

/* Given nothing. Returns RURUZIR_TEXT_SIZE as the library was built with it. */
RURUZIR_API size_t ruruzir_text_size(void);

/* What a conversion returns; ruruzir_status_text says it in words. Each cause has its status;
 * ruruzir_convert and ruruzir_convert_array, the calls of earlier versions, still fold the causes
 * added in 3.4 into the statuses they gave: RURUZIR_NO_ANSWER into RURUZIR_OUT_OF_RANGE, and
 * RURUZIR_MISSING, RURUZIR_VACUUM, RURUZIR_PRESSURE_TOO_HIGH and RURUZIR_SIDE_VALUE into
 * RURUZIR_BAD_NUMBER. */
enum ruruzir_status {
  RURUZIR_CONVERTED = 0,         /* the text holds the result */
  RURUZIR_OUT_OF_RANGE = 1,      /* the value lies outside its unit's range; the text holds the
                                    calculator's message, e.g. "stay between 0 and 138670 ppm" */
  RURUZIR_BAD_CODE = 2,          /* an unknown unit, pressure unit, formulation, enhancement factor,
                                    density medium or precision code */
  RURUZIR_BAD_NUMBER = 3,        /* a value or parameter that is infinite or, in the earlier calls,
                                    NaN */
  RURUZIR_TEXT_TOO_SMALL = 4,    /* the text area cannot hold the whole text */
  RURUZIR_NO_AREA = 5,           /* a pointer the call needs is null */
  RURUZIR_NO_ANSWER = 6,         /* the value has no result: it stands for no water content, or the
                                    target unit has no value for it; the text is "out of range", as
                                    in the calculator's result box */
  RURUZIR_MISSING = 7,           /* a value, or an element's own pressure or temperature, is NaN: no
                                    reading (pandas' NA and a missing field alike) */
  RURUZIR_VACUUM = 8,            /* a pressure at or below vacuum: held in millibar rounded to
                                    hundredths, as the calculator holds it, it is not above 0 */
  RURUZIR_PRESSURE_TOO_HIGH = 9, /* a pressure beyond the largest the calculator holds (single
                                    precision millibar) */
  RURUZIR_SIDE_VALUE = 10        /* a side value outside the limits the calculator's dialogs keep:
                                    a temperature not strictly between -80 and 200 degC, a molecular
                                    weight or Henry's constant not above 0 (ruruzir_limits) */
};
#define RURUZIR_STATUS_COUNT 11

/* Given nothing. Returns RURUZIR_STATUS_COUNT: statuses are 0 to this - 1. */
RURUZIR_API int ruruzir_status_count(void);

/* Given a status. Returns a short English reason ("converted", "no answer: ..."), never null;
 * "unknown status" for a number that is no status. */
RURUZIR_API const char* ruruzir_status_text(int status);

/* Moisture units. */
enum ruruzir_moisture_unit {
  RURUZIR_DEW_FROST_POINT_C = 0, /* dew point, frost point below 0 degC */
  RURUZIR_DEW_POINT_C = 1,       /* dew point over supercooled water */
  RURUZIR_DEW_FROST_POINT_F = 2,
  RURUZIR_DEW_POINT_F = 3,
  RURUZIR_PPMV = 4,          /* parts per million by volume, dry basis */
  RURUZIR_PPMW_GAS = 5,      /* by weight in a gas: molecular_weight */
  RURUZIR_LBS_PER_MMSCF = 6, /* lb water per million standard cubic feet of natural gas */
  RURUZIR_GRAMS_PER_M3 = 7,  /* density: prevailing_temperature_c and density_medium */
  RURUZIR_VAPOUR_PRESSURE_MBAR = 8,
  RURUZIR_RELATIVE_HUMIDITY = 9, /* percent: ambient_temperature_c */
  RURUZIR_PPMW_LIQUID = 10       /* dissolved in a liquid: henry_constant */
};

/* Pressure units. The calculator's window offers the first five; the others are converted to
 * millibar (bar 1000, barg 1000 plus one standard atmosphere, MPa 10000, Pa 0.01 millibar per
 * reading) and then read as the window reads millibar. */
enum ruruzir_pressure_unit {
  RURUZIR_MBAR = 0,
  RURUZIR_PSIA = 1,
  RURUZIR_PSIG = 2,
  RURUZIR_ATM = 3,
  RURUZIR_KPA = 4,
  RURUZIR_BAR = 5,
  RURUZIR_BARG = 6,
  RURUZIR_MPA = 7,
  RURUZIR_PA = 8
};

/* Saturation vapour pressure formulations and enhancement factors. */
enum ruruzir_formulation {
  RURUZIR_HYLAND_WEXLER = 0,
  RURUZIR_GOFF_GRATCH = 1,
  RURUZIR_SONNTAG = 2,
  RURUZIR_MAGNUS = 3
};
enum ruruzir_enhancement {
  RURUZIR_ENHANCEMENT_NONE = 0,
  RURUZIR_ENHANCEMENT_BOGEL = 1,
  RURUZIR_ENHANCEMENT_GREENSPAN = 2
};

/* What the water vapour density (g/m3) is the density of. */
enum ruruzir_density_medium {
  RURUZIR_MEDIUM_WATER_VAPOUR = 0, /* the moist gas itself */
  RURUZIR_MEDIUM_AIR = 1,
  RURUZIR_MEDIUM_NATURAL_GAS = 2
};

/* Which number a conversion gives besides its text. */
enum ruruzir_precision {
  RURUZIR_AS_SHOWN = 0,    /* the number the calculator's result text shows: decimals by unit and
                              magnitude */
  RURUZIR_AS_COMPUTED = 1, /* the computed double before it is rounded for display; dew and frost
                              points are the solver's tenths, as the calculator computes them, and
                              the ppmV between the two sides is held in single precision */
  RURUZIR_AS_EXACT = 2     /* as computed, but a dew or frost point is the root of the formulation
                              itself (to 1e-9 degC), not the solver's tenths */
};

/* One side's parameters; each unit uses the one its comment above names. The calculator holds
 * them in single precision and so does a conversion. ruruzir_default_side and ruruzir_limits
 * give their defaults and limits. */
struct ruruzir_side {
  double ambient_temperature_c;    /* %RH: ambient (dry-bulb) temperature, degC */
  double molecular_weight;         /* ppmW in a gas: g/mol of the gas */
  double henry_constant;           /* ppmW in a liquid: ppmW per mbar of water vapour pressure */
  double prevailing_temperature_c; /* g/m3: temperature of the gas, degC */
  int density_medium;              /* g/m3: enum ruruzir_density_medium */
};

/* Given nothing. Returns sizeof(struct ruruzir_side) as the library was built: a binding that
 * lays the struct out itself refuses to load when its size differs. */
RURUZIR_API size_t ruruzir_side_size(void);

/* Given `side`. Fills it with the calculator's defaults: ambient and prevailing temperature
 * 20 degC, molecular weight 29 (air), Henry's constant 1.9 (hexane), natural gas. A null `side`
 * is ignored. */
RURUZIR_API void ruruzir_default_side(struct ruruzir_side* side);

/* ---------------------------------------------------------------------------------------------
 * Names. Every kind of choice has codes 0 to ruruzir_count(kind) - 1, a name as ruruzir-convert
 * takes it, aliases, a short label and a default. */
enum ruruzir_kind {
  RURUZIR_MOISTURE_UNITS = 0, /* enum ruruzir_moisture_unit */
  RURUZIR_PRESSURE_UNITS = 1, /* enum ruruzir_pressure_unit */
  RURUZIR_FORMULATIONS = 2,   /* enum ruruzir_formulation */
  RURUZIR_ENHANCEMENTS = 3,   /* enum ruruzir_enhancement */
  RURUZIR_MEDIA = 4,          /* enum ruruzir_density_medium */
  RURUZIR_PRECISIONS = 5      /* enum ruruzir_precision */
};
#define RURUZIR_KIND_COUNT 6
#define ruruzir_unit_kind ruruzir_kind /* the name of earlier versions */

/* Given a kind. Returns how many codes it has (11 moisture units, 9 pressure units, 4
 * formulations, 3 enhancement factors, 3 media, 3 precisions), or 0 for no such kind. */
RURUZIR_API int ruruzir_count(int kind);

/* Given a kind and a code. Returns the code's name as ruruzir-convert takes it ("frost-c",
 * "psig", "goff-gratch", "natural-gas", "shown"), or null for no such code. */
RURUZIR_API const char* ruruzir_name(int kind, int code);

/* Given a kind and a name (ASCII letters in any case). Returns the code it stands for: a name
 * of ruruzir_name or an alias ("ppm", "lb/mmscf", "g/m3", "%rh", "gas", ...); -1 for no such
 * name or a null name. A bare "psi" is -1, as ruruzir-convert refuses it: it is read as
 * absolute by some and as gauge by others (say "psia" or "psig"). */
RURUZIR_API int ruruzir_code(int kind, const char* name);

/* Given a kind, an index from 0 and `code` (may be null). Returns the index-th of the kind's
 * names and aliases in their table's order (each name first, then its aliases) and writes the
 * code it stands for into *code; null past the last. */
RURUZIR_API const char* ruruzir_alias(int kind, int index, int* code);

/* Given a kind and a code. Returns the short label results and messages show, Windows-1252:
 * "\xB0C frost point", "ppmV", "%RH", "g/m\xB3", "lb/MMscf", "mbar", "psia", "bar", "Goff-Gratch",
 * "Bogel", "natural gas", "shown" ...; null for no such code. */
RURUZIR_API const char* ruruzir_label(int kind, int code);

/* Given a kind and a code. Returns what the code means in a line ("parts per million by volume,
 * dry basis"), without how a front end takes it (ruruzir-convert --help adds its aliases and
 * options); null for no such code. */
RURUZIR_API const char* ruruzir_description(int kind, int code);

/* Given a kind. Returns the code the calculator starts with: frost-c, mbar, Goff-Gratch, no
 * enhancement factor, natural gas, shown; -1 for no such kind. */
RURUZIR_API int ruruzir_default_code(int kind);

/* Given a pressure unit. Returns the reading that stands for one standard atmosphere in it, as
 * text ("1013.25", "14.696", "0" for psig and barg, "101325" for Pa); "" for no such unit. A
 * pressure not given (NaN in struct ruruzir_request) is this reading. */
RURUZIR_API const char* ruruzir_atmosphere_reading(int pressure_unit);

/* ---------------------------------------------------------------------------------------------
 * Limits. */

/* What ruruzir_limits and ruruzir_check describe. The side values are in the order of struct
 * ruruzir_side's fields. */
enum ruruzir_quantity {
  RURUZIR_AMBIENT_TEMPERATURE = 0,    /* degC */
  RURUZIR_MOLECULAR_WEIGHT = 1,       /* g/mol */
  RURUZIR_HENRY_CONSTANT = 2,         /* ppmW per mbar */
  RURUZIR_PREVAILING_TEMPERATURE = 3, /* degC */
  RURUZIR_PRESSURE = 4,               /* held in millibar */
  RURUZIR_VALUE = 5                   /* a moisture value: the range of its unit */
};

/* Given a quantity, a unit (the moisture unit for RURUZIR_VALUE, else ignored) and `low`,
 * `high`, `included` (each may be null). Writes the quantity's limits: *low and *high, and
 * *included = 1 when both bounds belong to the accepted values (a unit's range), 0 when neither
 * does (side values and pressures: strictly between). Returns RURUZIR_CONVERTED; for a moisture
 * unit without a range (it accepts any number) -inf and +inf; RURUZIR_BAD_CODE for no such
 * quantity or unit. */
RURUZIR_API int ruruzir_limits(int quantity, int unit, double* low, double* high, int* included);

/* Given a quantity, a unit (the moisture unit for RURUZIR_VALUE, the pressure unit for
 * RURUZIR_PRESSURE, else ignored), a number as typed and a text area. Checks the number as a
 * conversion checks it and returns RURUZIR_CONVERTED when it is accepted; otherwise the status
 * (RURUZIR_MISSING for NaN, RURUZIR_BAD_NUMBER, RURUZIR_OUT_OF_RANGE, RURUZIR_VACUUM,
 * RURUZIR_PRESSURE_TOO_HIGH, RURUZIR_SIDE_VALUE, RURUZIR_BAD_CODE) with the reason in `text`:
 * the calculator's message for a value out of range, else a phrase to put after the field and
 * the number ("is at or below vacuum: no gas has that pressure"). The text may be null. */
RURUZIR_API int ruruzir_check(int quantity, int unit, double number, char* text, size_t text_size);

/* ---------------------------------------------------------------------------------------------
 * Reading typed text. */

/* Given a text (null-terminated), `decimal_comma` (1: a comma that stands where the decimal
 * point could stand is the point, as the calculator's boxes read "7,5") and `value`. Reads the
 * whole text as one number: blanks around it, an optional sign, digits with an optional point,
 * an optional e/E exponent; no "inf", "nan" or hex. Returns RURUZIR_CONVERTED with the number in
 * *value, RURUZIR_MISSING for a text of blanks only, RURUZIR_BAD_NUMBER for anything else. */
RURUZIR_API int ruruzir_read_number(const char* text, int decimal_comma, double* value);

/* Given a text, `decimal_comma` as above, `celsius` and `fahrenheit` (may be null). Reads a
 * temperature: a number optionally followed by C or F, with "deg" or a degree sign (Windows-1252
 * or UTF-8) before it ("20", "20C", "68F", "68degF", "20 \xB0C"), into *celsius as the
 * calculator's dialogs hold it (degF converted with their single-precision constants), and
 * *fahrenheit = 1 when it was given in degF. Returns as ruruzir_read_number. */
RURUZIR_API int ruruzir_read_temperature(const char* text, int decimal_comma, double* celsius,
                                         int* fahrenheit);

/* ---------------------------------------------------------------------------------------------
 * A conversion request: everything a conversion needs besides the value. */
struct ruruzir_request {
  int source_unit;          /* enum ruruzir_moisture_unit */
  int source_pressure_unit; /* enum ruruzir_pressure_unit */
  double source_pressure;   /* a reading in source_pressure_unit; NaN: not given, one standard
                               atmosphere (ruruzir_atmosphere_reading) */
  struct ruruzir_side source;
  int target_unit;
  int target_pressure_unit;
  double target_pressure; /* NaN: not given, one standard atmosphere */
  struct ruruzir_side target;
  int formulation; /* enum ruruzir_formulation */
  int enhancement; /* enum ruruzir_enhancement */
  int precision;   /* enum ruruzir_precision: the number given besides the text */
};

/* Given nothing. Returns sizeof(struct ruruzir_request) as the library was built. */
RURUZIR_API size_t ruruzir_request_size(void);

/* Given `request`. Fills it with the calculator's first start: frost-c to frost-c, mbar on both
 * sides, no pressures given (one standard atmosphere), the default sides, Goff-Gratch, no
 * enhancement factor, shown. A null request is ignored. */
RURUZIR_API void ruruzir_default_request(struct ruruzir_request* request);

/* What part of a request a refusal is about. */
enum ruruzir_field {
  RURUZIR_FIELD_NONE = 0,
  RURUZIR_FIELD_VALUE = 1,
  RURUZIR_FIELD_SOURCE_UNIT = 2,
  RURUZIR_FIELD_SOURCE_PRESSURE = 3, /* the reading or its unit */
  RURUZIR_FIELD_TARGET_UNIT = 4,
  RURUZIR_FIELD_TARGET_PRESSURE = 5,
  RURUZIR_FIELD_MODEL = 6,       /* the formulation, enhancement factor or precision */
  RURUZIR_FIELD_SOURCE_SIDE = 7, /* + enum ruruzir_quantity of the side value, or + 4 for the
                                    density medium: 7 to 11 */
  RURUZIR_FIELD_TARGET_SIDE = 12 /* 12 to 16 likewise */
};

/* Given a request, a value in its source unit, `result`, a text area and `field` (result and
 * field may be null). Checks the request and the value in the calculator's one order (codes,
 * then the side values the two units use, the value, the source pressure, the target pressure)
 * and converts. Returns:
 *   RURUZIR_CONVERTED  the text is the result as the calculator's result box shows it, *result
 *                      its number in the request's precision;
 *   RURUZIR_NO_ANSWER  the text is "out of range", *result NaN;
 *   any other status   the text is the reason (the calculator's message for a value outside
 *                      its unit's range, e.g. "stay between -140\xB0C and +50\xB0C"; else a
 *                      phrase as ruruzir_check gives), *field the part of the request it is
 *                      about, *result NaN.
 * Side values of units the request does not use are not checked. Writes never past text_size;
 * RURUZIR_TEXT_TOO_SMALL when the text does not fit (the text is then empty). */
RURUZIR_API int ruruzir_convert_request(const struct ruruzir_request* request, double value,
                                        double* result, char* text, size_t text_size, int* field);

/* Given a request, a value in its source unit, a new source unit, the new unit's side (null:
 * the request's source side) and a text area. Re-expresses the value as the calculator's window
 * does when its source unit is changed: the same water content at the source pressure, in the
 * new unit, written as the window writes it into its value box. Returns RURUZIR_CONVERTED with
 * the text; RURUZIR_NO_ANSWER with "N/A" (the new unit has no value for it) or "enter new val"
 * (the value stands for no water content); or a refusal as ruruzir_convert_request. */
RURUZIR_API int ruruzir_reexpress(const struct ruruzir_request* request, double value, int new_unit,
                                  const struct ruruzir_side* new_side, char* text,
                                  size_t text_size);

/* Per-element readings of an array conversion; each pointer is null (the request's value for
 * every element) or points to `count` readings. A NaN reading is RURUZIR_MISSING for its element,
 * never one standard atmosphere. */
struct ruruzir_columns {
  const double* source_pressures; /* in the request's source_pressure_unit */
  const double* target_pressures; /* in the request's target_pressure_unit */
  const double* source_ambient_c; /* %RH's ambient temperatures, degC */
  const double* target_ambient_c;
  const double* source_prevailing_c; /* g/m3's prevailing temperatures, degC */
  const double* target_prevailing_c;
};

/* Given nothing. Returns sizeof(struct ruruzir_columns) as the library was built. */
RURUZIR_API size_t ruruzir_columns_size(void);

/* Given a request, `count` values, per-element readings (null: none), `results` and `statuses`
 * (may be null; `results` may be `values`). Converts each element as ruruzir_convert_request
 * converts it, into results[i] (its number in the request's precision, NaN without one) and
 * statuses[i] (its status, by cause). Nothing is allocated and nothing kept: any number of
 * threads may call at once. Returns RURUZIR_CONVERTED when what all elements share is good;
 * otherwise its refusal (RURUZIR_NO_AREA for a null request, values or results with count > 0),
 * and then every result is NaN and every status that refusal. */
RURUZIR_API int ruruzir_convert_request_array(const struct ruruzir_request* request, size_t count,
                                              const double* values,
                                              const struct ruruzir_columns* columns,
                                              double* results, int* statuses);

/* ---------------------------------------------------------------------------------------------
 * The calls of earlier versions. */

/* Converts `value` in moisture unit `source_unit` at a pressure of `source_pressure` (a reading
 * in pressure unit `source_pressure_unit`) to `target_unit` at `target_pressure` in
 * `target_pressure_unit`, with the formulation and enhancement factor given. A null side takes
 * the calculator's defaults. As ruruzir_convert_request, except: every number must be given (NaN
 * is RURUZIR_BAD_NUMBER), the side values of every unit are checked, and the statuses are those
 * of earlier versions (see enum ruruzir_status). The text is empty (when it has room) for every
 * status but RURUZIR_CONVERTED and RURUZIR_OUT_OF_RANGE. *result is the shown number. */
RURUZIR_API int ruruzir_convert(double value, int source_unit, double source_pressure,
                                int source_pressure_unit, const struct ruruzir_side* source_side,
                                int target_unit, double target_pressure, int target_pressure_unit,
                                const struct ruruzir_side* target_side, int formulation,
                                int enhancement, double* result, char* text, size_t text_size);

/* One side of ruruzir_convert_array: its unit, its pressure for every element or one per
 * element, and its parameters, of which the two temperatures may also be given per element. */
struct ruruzir_array_side {
  int unit;                                /* enum ruruzir_moisture_unit */
  int pressure_unit;                       /* enum ruruzir_pressure_unit */
  double pressure;                         /* reading in pressure_unit when pressures is null */
  const double* pressures;                 /* null, or one reading in pressure_unit per element */
  struct ruruzir_side parameters;          /* ruruzir_default_side gives the calculator's */
  const double* ambient_temperatures_c;    /* null, or %RH's degC per element */
  const double* prevailing_temperatures_c; /* null, or g/m3's degC per element */
};

/* Given nothing. Returns sizeof(struct ruruzir_array_side) as the library was built. */
RURUZIR_API size_t ruruzir_array_side_size(void);

/* Converts `count` values as ruruzir_convert_request_array does, with the statuses of earlier
 * versions. Returns RURUZIR_CONVERTED when the arguments shared by all elements are good;
 * otherwise the reason, and then every result is NaN and every status that reason. */
RURUZIR_API int ruruzir_convert_array(size_t count, const double* values,
                                      const struct ruruzir_array_side* source,
                                      const struct ruruzir_array_side* target, int formulation,
                                      int enhancement, int precision, double* results,
                                      int* statuses);

/* ruruzir_count, ruruzir_name and ruruzir_code for the two unit kinds. */
RURUZIR_API int ruruzir_unit_count(int kind);
RURUZIR_API const char* ruruzir_unit_name(int kind, int code);
RURUZIR_API int ruruzir_unit_code(int kind, const char* name);

/* Given a unit kind, a code and a text area. Writes the unit's caption as the calculator's list
 * shows it ("\xB0C  ...  dew/frost point", "PSIG"; the converter's own pressure units by their
 * labels) into `text`; returns RURUZIR_CONVERTED, RURUZIR_BAD_CODE for no such unit,
 * RURUZIR_TEXT_TOO_SMALL or RURUZIR_NO_AREA (the text is then empty when it has room). */
RURUZIR_API int ruruzir_unit_caption(int kind, int code, char* text, size_t text_size);

/* Given nothing. Returns the library's version as ruruzir-convert --version shows it, "3.4". */
RURUZIR_API const char* ruruzir_version(void);

#ifdef __cplusplus
}
#endif

#endif /* RURUZIR_H */
