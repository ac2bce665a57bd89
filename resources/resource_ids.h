// Numeric identifiers of the program's resources: dialog templates, controls, the icon, the
// banner bitmaps and the system-menu commands. Plain #defines only, without includes, so that
// windres, the Win32 sources and the Win32-free sources can all use this file.
#pragma once

// Main window: template name and window class.
#define MAIN_WINDOW_TEMPLATE "MCALC"
#define MAIN_WINDOW_CLASS "mCalc"

// Address opened by the About box's home-page button and shown on its caption.
#define HOME_PAGE_URL "http://ruruzir.example/"

// Dialog templates.
#define IDD_GAS 101
#define IDD_AMBIENT_TEMPERATURE 102
#define IDD_PREFERENCES 103
#define IDD_ABOUT 104
#define IDD_NOTICE 113
#define IDD_DENSITY 114
#define IDD_LOOP_CALCULATOR 115
#define IDD_LIQUID 116

// Icon and bitmaps.
#define IDB_BANNER_UP 105
#define IDB_BANNER_DOWN 106
#define IDI_APPLICATION_ICON 107

// Commands appended to the main window's system menu.
#define IDM_ABOUT 101
#define IDM_PREFERENCES 102
#define IDM_LOOP_CALCULATOR 103

// Main window controls.
#define IDC_SOURCE_PRESSURE 108
#define IDC_SOURCE_PRESSURE_UNIT 109
#define IDC_SOURCE_VALUE 110
#define IDC_SOURCE_MOISTURE_UNIT 111
#define IDC_TARGET_PRESSURE 112
#define IDC_TARGET_PRESSURE_UNIT 113
#define IDC_RESULT 114
#define IDC_TARGET_MOISTURE_UNIT 115
#define IDC_BANNER 1026
#define IDC_PREFERENCES 1052

// Gas dialog: one radio button per gas; the last one takes the value typed beside it.
#define IDC_GAS_ACETYLENE 1000
#define IDC_GAS_AIR 1001
#define IDC_GAS_AMMONIA 1002
#define IDC_GAS_ARGON 1003
#define IDC_GAS_CO2 1004
#define IDC_GAS_CO 1005
#define IDC_GAS_ETHYLENE 1006
#define IDC_GAS_HELIUM 1007
#define IDC_GAS_HYDROGEN 1008
#define IDC_GAS_METHANE 1009
#define IDC_GAS_NITROGEN 1010
#define IDC_GAS_OXYGEN 1011
#define IDC_GAS_SULFUR_DIOXIDE 1012
#define IDC_GAS_OTHER 1013
#define IDC_GAS_OTHER_VALUE 1014

// Ambient temperature dialog.
#define IDC_AMBIENT_CELSIUS 1015
#define IDC_AMBIENT_FAHRENHEIT 1016
#define IDC_AMBIENT_TEMPERATURE 1017

// Preferences dialog: saturation vapour pressure formulation, enhancement factor, saving.
#define IDC_HYLAND_WEXLER 1018
#define IDC_GOFF_GRATCH 1019
#define IDC_SONNTAG 1020
#define IDC_MAGNUS 1021
#define IDC_NO_ENHANCEMENT 1022
#define IDC_BOGEL 1023
#define IDC_GREENSPAN 1024
#define IDC_SAVE_SETTINGS 1053

// Density dialog: medium, prevailing temperature unit and value.
#define IDC_MEDIUM_WATER_VAPOUR 1028
#define IDC_MEDIUM_AIR 1029
#define IDC_MEDIUM_NATURAL_GAS 1030
#define IDC_PREVAILING_CELSIUS 1033
#define IDC_PREVAILING_FAHRENHEIT 1034
#define IDC_PREVAILING_TEMPERATURE 1035

// 4/20 mA calculator.
#define IDC_LOOP_LOW 1039
#define IDC_LOOP_HIGH 1040
#define IDC_LOOP_MEASURE_CURRENT 1041
#define IDC_LOOP_MEASURE_VOLTAGE 1042
#define IDC_LOOP_RESISTANCE 1043
#define IDC_LOOP_DETECTED 1044
#define IDC_LOOP_ANSWER 1045
#define IDC_LOOP_DETECTED_UNIT 1046
#define IDC_LOOP_ACROSS 1047
#define IDC_LOOP_OHMS 1048

// Liquid dialog: one radio button per liquid; the last one takes the value typed beside it.
#define IDC_LIQUID_HEXANE 1054
#define IDC_LIQUID_HEXENE 1055
#define IDC_LIQUID_BENZENE 1056
#define IDC_LIQUID_TRANSFORMER_OIL 1057
#define IDC_LIQUID_MIX 1058
#define IDC_LIQUID_OTHER 1059
#define IDC_LIQUID_OTHER_VALUE 1061

// About box.
#define IDC_HOME_PAGE 1063
