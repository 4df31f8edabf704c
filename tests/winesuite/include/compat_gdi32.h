/* What gdi32's test files (font.c, dc.c) name beyond compat.h and our layer does not have:
 * force-included after compat.h for those files only. Constants and types so the files compile;
 * the functions are failing placeholders (placeholders_gdi32.def), so a test function that needs one
 * fails or is listed out of scope in scope.txt. */
#ifndef WINESUITE_COMPAT_GDI32_H
#define WINESUITE_COMPAT_GDI32_H
#include "compat.h"
#include <stdint.h>
#include <stdlib.h>

/* ---- Basic types (winnt.h, winbase.h). ---- */
typedef uint64_t UINT64;
typedef int64_t LONGLONG;
typedef unsigned char UCHAR;
typedef DWORD LCID;
typedef union _LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    };
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
} LARGE_INTEGER, *PLARGE_INTEGER;
typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *LPFILETIME;
typedef struct _STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved, lpDesktop, lpTitle;
    DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute, dwFlags;
    WORD wShowWindow, cbReserved2;
    BYTE *lpReserved2;
    HANDLE hStdInput, hStdOutput, hStdError;
} STARTUPINFOA, *LPSTARTUPINFOA;
typedef struct _PROCESS_INFORMATION {
    HANDLE hProcess, hThread;
    DWORD dwProcessId, dwThreadId;
} PROCESS_INFORMATION, *LPPROCESS_INFORMATION;
DECLARE_HANDLE(HMONITOR);

#define HEAP_ZERO_MEMORY 0x00000008
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define PAGE_READONLY 0x02
#define FILE_MAP_READ 0x0004
#define ERROR_FILE_EXISTS 80
#define ERROR_CAN_NOT_COMPLETE 1003
#define ERROR_NOACCESS 998
#define CP_SYMBOL 42

/* The process heap, stood in for by the C library as include/wine/heap.h does. */
static inline HANDLE GetProcessHeap(void)
{
    return (HANDLE)1;
}
static inline void *HeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    (void)heap;
    return (flags & HEAP_ZERO_MEMORY) ? calloc(1, size) : malloc(size);
}
static inline BOOL HeapFree(HANDLE heap, DWORD flags, void *memory)
{
    (void)heap;
    (void)flags;
    free(memory);
    return TRUE;
}
/* Wide strings of 16-bit units: the C library's take wchar_t of 32 bits. */
static inline int wcscmp_units(const WCHAR *a, const WCHAR *b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return (int)*a - (int)*b;
}
static inline WCHAR *wcscpy_units(WCHAR *to, const WCHAR *from)
{
    WCHAR *start = to;
    while ((*to++ = *from++))
        ;
    return start;
}
#define wcscmp wcscmp_units
#define wcscpy wcscpy_units
/* The test harness's child process wait (Wine's test.h); never reached: see scope.txt. */
static inline void wait_child_process(HANDLE process)
{
    (void)process;
}

/* ---- Languages (winnt.h): the font-name tests' table of name-table languages. ---- */
#define LANG_ARABIC 0x01
#define LANG_BULGARIAN 0x02
#define LANG_CATALAN 0x03
#define LANG_CHINESE 0x04
#define LANG_CHINESE_SIMPLIFIED 0x04
#define LANG_CHINESE_TRADITIONAL 0x7c04
#define LANG_CZECH 0x05
#define LANG_DANISH 0x06
#define LANG_GERMAN 0x07
#define LANG_GREEK 0x08
#define LANG_SPANISH 0x0a
#define LANG_FINNISH 0x0b
#define LANG_FRENCH 0x0c
#define LANG_HEBREW 0x0d
#define LANG_HUNGARIAN 0x0e
#define LANG_ICELANDIC 0x0f
#define LANG_ITALIAN 0x10
#define LANG_JAPANESE 0x11
#define LANG_KOREAN 0x12
#define LANG_DUTCH 0x13
#define LANG_NORWEGIAN 0x14
#define LANG_POLISH 0x15
#define LANG_PORTUGUESE 0x16
#define LANG_ROMANIAN 0x18
#define LANG_RUSSIAN 0x19
#define LANG_CROATIAN 0x1a
#define LANG_SERBIAN 0x1a
#define LANG_SLOVAK 0x1b
#define LANG_ALBANIAN 0x1c
#define LANG_SWEDISH 0x1d
#define LANG_THAI 0x1e
#define LANG_TURKISH 0x1f
#define LANG_URDU 0x20
#define LANG_INDONESIAN 0x21
#define LANG_UKRAINIAN 0x22
#define LANG_BELARUSIAN 0x23
#define LANG_SLOVENIAN 0x24
#define LANG_ESTONIAN 0x25
#define LANG_LATVIAN 0x26
#define LANG_LITHUANIAN 0x27
#define LANG_TAJIK 0x28
#define LANG_FARSI 0x29
#define LANG_VIETNAMESE 0x2a
#define LANG_ARMENIAN 0x2b
#define LANG_AZERI 0x2c
#define LANG_BASQUE 0x2d
#define LANG_MACEDONIAN 0x2f
#define LANG_AFRIKAANS 0x36
#define LANG_GEORGIAN 0x37
#define LANG_FAEROESE 0x38
#define LANG_HINDI 0x39
#define LANG_MALTESE 0x3a
#define LANG_SAMI 0x3b
#define LANG_IRISH 0x3c
#define LANG_SCOTTISH_GAELIC 0x3c
#define LANG_MALAY 0x3e
#define LANG_KAZAK 0x3f
#define LANG_KYRGYZ 0x40
#define LANG_SWAHILI 0x41
#define LANG_TURKMEN 0x42
#define LANG_UZBEK 0x43
#define LANG_TATAR 0x44
#define LANG_BENGALI 0x45
#define LANG_PUNJABI 0x46
#define LANG_GUJARATI 0x47
#define LANG_ORIYA 0x48
#define LANG_TAMIL 0x49
#define LANG_TELUGU 0x4a
#define LANG_KANNADA 0x4b
#define LANG_MALAYALAM 0x4c
#define LANG_ASSAMESE 0x4d
#define LANG_MARATHI 0x4e
#define LANG_SANSKRIT 0x4f
#define LANG_MONGOLIAN 0x50
#define LANG_TIBETAN 0x51
#define LANG_WELSH 0x52
#define LANG_KHMER 0x53
#define LANG_LAO 0x54
#define LANG_GALICIAN 0x56
#define LANG_SINDHI 0x59
#define LANG_SINHALESE 0x5b
#define LANG_INUKTITUT 0x5d
#define LANG_AMHARIC 0x5e
#define LANG_KASHMIRI 0x60
#define LANG_NEPALI 0x61
#define LANG_PASHTO 0x63
#define LANG_TIGRIGNA 0x73
#define LANG_UIGHUR 0x80
#define LANG_BRETON 0x7e
#define LANG_QUECHUA 0x6b
#define LANG_GREENLANDIC 0x6f
#define SUBLANG_AZERI_LATIN 0x01
#define SUBLANG_AZERI_CYRILLIC 0x02
#define SUBLANG_DUTCH_BELGIAN 0x02
#define SUBLANG_IRISH_IRELAND 0x02
#define SUBLANG_MONGOLIAN_CYRILLIC_MONGOLIA 0x01

/* ---- Fonts (wingdi.h). ---- */
#define LF_FULLFACESIZE 64
#define OEM_CHARSET 255
#define HANGEUL_CHARSET 129
#define JOHAB_CHARSET 130
#define HEBREW_CHARSET 177
#define ARABIC_CHARSET 178
#define TURKISH_CHARSET 162
#define VIETNAMESE_CHARSET 163
#define THAI_CHARSET 222
#define RUSSIAN_CHARSET 204
#define BALTIC_CHARSET 186
#define FS_LATIN1 0x00000001
#define FS_LATIN2 0x00000002
#define FS_CYRILLIC 0x00000004
#define FS_GREEK 0x00000008
#define FS_TURKISH 0x00000010
#define FS_HEBREW 0x00000020
#define FS_ARABIC 0x00000040
#define FS_BALTIC 0x00000080
#define FS_VIETNAMESE 0x00000100
#define FS_THAI 0x00010000
#define FS_SYMBOL 0x80000000u
#define FW_REGULAR 400
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50
#define PROOF_QUALITY 2
#define OUT_TT_ONLY_PRECIS 7
#define RGN_OR 2
#define CLIP_LH_ANGLES 0x10
#define CLIP_DFA_DISABLE 0x40
#define FR_PRIVATE 0x10
#define ETO_GLYPH_INDEX 0x0010
#define GCP_REORDER 0x0002
#define GCP_USEKERNING 0x0008
#define GGI_MARK_NONEXISTING_GLYPHS 0x0001
#define GGO_METRICS 0
#define GGO_BITMAP 1
#define GGO_NATIVE 2
#define GGO_GRAY2_BITMAP 4
#define GGO_GRAY4_BITMAP 5
#define GGO_GRAY8_BITMAP 6
#define GGO_GLYPH_INDEX 0x0080
#define TT_POLYGON_TYPE 24
#define TCI_SRCCHARSET 1
#define TCI_SRCCODEPAGE 2
#define TCI_SRCFONTSIG 3
#define PAN_ANY 0
#define PAN_NO_FIT 1
#define PAN_FAMILY_TEXT_DISPLAY 2
#define PAN_FAMILY_SCRIPT 3
#define PAN_FAMILY_DECORATIVE 4
#define PAN_FAMILY_PICTORIAL 5
#define PAN_SERIF_COVE 2
#define PAN_SERIF_OBTUSE_COVE 3
#define PAN_SERIF_SQUARE_COVE 4
#define PAN_SERIF_OBTUSE_SQUARE_COVE 5
#define PAN_SERIF_SQUARE 6
#define PAN_SERIF_THIN 7
#define PAN_SERIF_BONE 8
#define PAN_SERIF_EXAGGERATED 9
#define PAN_SERIF_TRIANGLE 10
#define PAN_SERIF_NORMAL_SANS 11
#define PAN_SERIF_OBTUSE_SANS 12
#define PAN_SERIF_PERP_SANS 13
#define PAN_SERIF_FLARED 14
#define PAN_SERIF_ROUNDED 15
#define PAN_PROP_MONOSPACED 9

typedef struct _FIXED {
    WORD fract;
    SHORT value;
} FIXED;
typedef struct _MAT2 {
    FIXED eM11, eM12, eM21, eM22;
} MAT2, *LPMAT2;
typedef struct tagPOINTFX {
    FIXED x, y;
} POINTFX;
typedef struct tagTTPOLYCURVE {
    WORD wType;
    WORD cpfx;
    POINTFX apfx[1];
} TTPOLYCURVE;
typedef struct tagTTPOLYGONHEADER {
    DWORD cb;
    DWORD dwType;
    POINTFX pfxStart;
} TTPOLYGONHEADER;
typedef struct _GLYPHMETRICS {
    UINT gmBlackBoxX, gmBlackBoxY;
    POINT gmptGlyphOrigin;
    SHORT gmCellIncX, gmCellIncY;
} GLYPHMETRICS, *LPGLYPHMETRICS;
typedef struct _ABCFLOAT {
    FLOAT abcfA, abcfB, abcfC;
} ABCFLOAT, *LPABCFLOAT;
typedef struct tagKERNINGPAIR {
    WORD wFirst, wSecond;
    int iKernAmount;
} KERNINGPAIR, *LPKERNINGPAIR;
typedef struct tagWCRANGE {
    WCHAR wcLow;
    USHORT cGlyphs;
} WCRANGE;
typedef struct tagGLYPHSET {
    DWORD cbThis, flAccel, cGlyphsSupported, cRanges;
    WCRANGE ranges[1];
} GLYPHSET, *LPGLYPHSET;
typedef struct tagCHARSETINFO {
    UINT ciCharset, ciACP;
    FONTSIGNATURE fs;
} CHARSETINFO, *LPCHARSETINFO;
typedef struct tagPANOSE {
    BYTE bFamilyType, bSerifStyle, bWeight, bProportion, bContrast, bStrokeVariation, bArmStyle,
        bLetterform, bMidline, bXHeight;
} PANOSE;
typedef struct _OUTLINETEXTMETRICA {
    UINT otmSize;
    TEXTMETRICA otmTextMetrics;
    BYTE otmFiller;
    PANOSE otmPanoseNumber;
    UINT otmfsSelection, otmfsType;
    int otmsCharSlopeRise, otmsCharSlopeRun, otmItalicAngle;
    UINT otmEMSquare;
    int otmAscent, otmDescent;
    UINT otmLineGap, otmsCapEmHeight, otmsXHeight;
    RECT otmrcFontBox;
    int otmMacAscent, otmMacDescent;
    UINT otmMacLineGap, otmusMinimumPPEM;
    POINT otmptSubscriptSize, otmptSubscriptOffset, otmptSuperscriptSize, otmptSuperscriptOffset;
    UINT otmsStrikeoutSize;
    int otmsStrikeoutPosition, otmsUnderscoreSize, otmsUnderscorePosition;
    LPSTR otmpFamilyName, otmpFaceName, otmpStyleName, otmpFullName;
} OUTLINETEXTMETRICA, *LPOUTLINETEXTMETRICA;
typedef struct _OUTLINETEXTMETRICW {
    UINT otmSize;
    TEXTMETRICW otmTextMetrics;
    BYTE otmFiller;
    PANOSE otmPanoseNumber;
    UINT otmfsSelection, otmfsType;
    int otmsCharSlopeRise, otmsCharSlopeRun, otmItalicAngle;
    UINT otmEMSquare;
    int otmAscent, otmDescent;
    UINT otmLineGap, otmsCapEmHeight, otmsXHeight;
    RECT otmrcFontBox;
    int otmMacAscent, otmMacDescent;
    UINT otmMacLineGap, otmusMinimumPPEM;
    POINT otmptSubscriptSize, otmptSubscriptOffset, otmptSuperscriptSize, otmptSuperscriptOffset;
    UINT otmsStrikeoutSize;
    int otmsStrikeoutPosition, otmsUnderscoreSize, otmsUnderscorePosition;
    LPSTR otmpFamilyName, otmpFaceName, otmpStyleName, otmpFullName;
} OUTLINETEXTMETRICW, *LPOUTLINETEXTMETRICW;
typedef struct tagNEWTEXTMETRICA {
    LONG tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading, tmAveCharWidth,
        tmMaxCharWidth, tmWeight, tmOverhang, tmDigitizedAspectX, tmDigitizedAspectY;
    BYTE tmFirstChar, tmLastChar, tmDefaultChar, tmBreakChar, tmItalic, tmUnderlined, tmStruckOut,
        tmPitchAndFamily, tmCharSet;
    DWORD ntmFlags;
    UINT ntmSizeEM, ntmCellHeight, ntmAvgWidth;
} NEWTEXTMETRICA, *LPNEWTEXTMETRICA;
typedef struct tagNEWTEXTMETRICW {
    LONG tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading, tmAveCharWidth,
        tmMaxCharWidth, tmWeight, tmOverhang, tmDigitizedAspectX, tmDigitizedAspectY;
    WCHAR tmFirstChar, tmLastChar, tmDefaultChar, tmBreakChar;
    BYTE tmItalic, tmUnderlined, tmStruckOut, tmPitchAndFamily, tmCharSet;
    DWORD ntmFlags;
    UINT ntmSizeEM, ntmCellHeight, ntmAvgWidth;
} NEWTEXTMETRICW, *LPNEWTEXTMETRICW;
typedef struct tagNEWTEXTMETRICEXA {
    NEWTEXTMETRICA ntmTm;
    FONTSIGNATURE ntmFontSig;
} NEWTEXTMETRICEXA;
typedef struct tagNEWTEXTMETRICEXW {
    NEWTEXTMETRICW ntmTm;
    FONTSIGNATURE ntmFontSig;
} NEWTEXTMETRICEXW;
typedef struct tagENUMLOGFONTA {
    LOGFONTA elfLogFont;
    BYTE elfFullName[LF_FULLFACESIZE];
    BYTE elfStyle[LF_FACESIZE];
} ENUMLOGFONTA, *LPENUMLOGFONTA;
typedef struct tagENUMLOGFONTW {
    LOGFONTW elfLogFont;
    WCHAR elfFullName[LF_FULLFACESIZE];
    WCHAR elfStyle[LF_FACESIZE];
} ENUMLOGFONTW, *LPENUMLOGFONTW;
typedef struct tagENUMLOGFONTEXA {
    LOGFONTA elfLogFont;
    BYTE elfFullName[LF_FULLFACESIZE];
    BYTE elfStyle[LF_FACESIZE];
    BYTE elfScript[LF_FACESIZE];
} ENUMLOGFONTEXA, *LPENUMLOGFONTEXA;
typedef struct tagENUMLOGFONTEXW {
    LOGFONTW elfLogFont;
    WCHAR elfFullName[LF_FULLFACESIZE];
    WCHAR elfStyle[LF_FACESIZE];
    WCHAR elfScript[LF_FACESIZE];
} ENUMLOGFONTEXW, *LPENUMLOGFONTEXW;
typedef struct tagDESIGNVECTOR {
    DWORD dvReserved, dvNumAxes;
    LONG dvValues[16];
} DESIGNVECTOR;
typedef struct tagENUMLOGFONTEXDVA {
    ENUMLOGFONTEXA elfEnumLogfontEx;
    DESIGNVECTOR elfDesignVector;
} ENUMLOGFONTEXDVA;
typedef struct tagGCP_RESULTSA {
    DWORD lStructSize;
    LPSTR lpOutString;
    UINT *lpOrder;
    INT *lpDx, *lpCaretPos;
    LPSTR lpClass;
    LPWSTR lpGlyphs;
    UINT nGlyphs;
    UINT nMaxFit;
} GCP_RESULTSA;
typedef struct tagGCP_RESULTSW {
    DWORD lStructSize;
    LPWSTR lpOutString;
    UINT *lpOrder;
    INT *lpDx, *lpCaretPos;
    LPSTR lpClass;
    LPWSTR lpGlyphs;
    UINT nGlyphs;
    UINT nMaxFit;
} GCP_RESULTSW;

/* ---- Coordinate spaces (wingdi.h). ---- */
#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8
#define LAYOUT_RTL 0x00000001
typedef struct tagXFORM {
    FLOAT eM11, eM12, eM21, eM22, eDx, eDy;
} XFORM, *LPXFORM;

/* ---- Devices: capabilities, bounds, pens, regions, printers and displays (wingdi.h, winuser.h). ---- */
#define DRIVERVERSION 0
#define CURVECAPS 28
#define LINECAPS 30
#define POLYGONALCAPS 32
#define TEXTCAPS 34
#define CLIPCAPS 36
#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44
#define PDEVICESIZE 26
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMMARKERS 20
#define NUMFONTS 22
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define SCALINGFACTORX 114
#define SCALINGFACTORY 115
#define VREFRESH 116
#define DESKTOPVERTRES 117
#define DESKTOPHORZRES 118
#define BLTALIGNMENT 119
#define SHADEBLENDCAPS 120
#define COLORMGMTCAPS 121
#define DT_RASPRINTER 2
#define DT_METAFILE 5
#define DCB_RESET 0x0001
#define DCB_ACCUMULATE 0x0002
#define DCB_SET (DCB_RESET | DCB_ACCUMULATE)
#define DCB_ENABLE 0x0004
#define DCB_DISABLE 0x0008
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_GEOMETRIC 0x00010000
#define QUERYESCSUPPORT 8
#define GETTECHNOLOGY 20
#define OPENCHANNEL 4110
#define DOWNLOADHEADER 4111
#define CLOSECHANNEL 4112
#define POSTSCRIPT_PASSTHROUGH 4115
#define GETFACENAME 513
#define DOWNLOADFACE 514
#define CCHDEVICENAME 32
#define CCHFORMNAME 32
#define DM_SCALE 0x00000010
#define DMICMMETHOD_NONE 1
#define ENUM_CURRENT_SETTINGS ((DWORD)-1)
#define DISPLAY_DEVICE_ATTACHED_TO_DESKTOP 0x00000001
#define SM_XVIRTUALSCREEN 76
#define SM_YVIRTUALSCREEN 77
typedef struct _RGNDATAHEADER {
    DWORD dwSize, iType, nCount, nRgnSize;
    RECT rcBound;
} RGNDATAHEADER;
typedef struct _RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
} RGNDATA, *LPRGNDATA;
/* The printer and display records carry the fields the tests read; the functions that fill them
 * are placeholders and the test functions that call them are out of scope. */
typedef struct _devicemodeA {
    BYTE dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra;
    DWORD dmFields;
    union {
        struct {
            short dmOrientation, dmPaperSize, dmPaperLength, dmPaperWidth, dmScale, dmCopies,
                dmDefaultSource, dmPrintQuality;
        } s1;
        POINT dmPosition;
    } u1;
    short dmColor, dmDuplex, dmYResolution, dmTTOption, dmCollate;
    BYTE dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel, dmPelsWidth, dmPelsHeight, dmDisplayFlags, dmDisplayFrequency, dmICMMethod,
        dmICMIntent, dmMediaType, dmDitherType, dmReserved1, dmReserved2, dmPanningWidth, dmPanningHeight;
} DEVMODEA, *LPDEVMODEA;
typedef struct _devicemodeW {
    WCHAR dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion, dmDriverVersion, dmSize, dmDriverExtra;
    DWORD dmFields;
    union {
        struct {
            short dmOrientation, dmPaperSize, dmPaperLength, dmPaperWidth, dmScale, dmCopies,
                dmDefaultSource, dmPrintQuality;
        } s1;
        POINT dmPosition;
    } u1;
    short dmColor, dmDuplex, dmYResolution, dmTTOption, dmCollate;
    WCHAR dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel, dmPelsWidth, dmPelsHeight, dmDisplayFlags, dmDisplayFrequency, dmICMMethod,
        dmICMIntent, dmMediaType, dmDitherType, dmReserved1, dmReserved2, dmPanningWidth, dmPanningHeight;
} DEVMODEW, *LPDEVMODEW;
typedef struct _DISPLAY_DEVICEW {
    DWORD cb;
    WCHAR DeviceName[32];
    WCHAR DeviceString[128];
    DWORD StateFlags;
    WCHAR DeviceID[128];
    WCHAR DeviceKey[128];
} DISPLAY_DEVICEW;
typedef struct _DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName, lpszOutput, lpszDatatype;
    DWORD fwType;
} DOCINFOA;
typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize, nVersion;
    DWORD dwFlags;
    BYTE iPixelType, cColorBits, cRedBits, cRedShift, cGreenBits, cGreenShift, cBlueBits, cBlueShift,
        cAlphaBits, cAlphaShift, cAccumBits, cAccumRedBits, cAccumGreenBits, cAccumBlueBits,
        cAccumAlphaBits, cDepthBits, cStencilBits, cAuxBuffers, iLayerType, bReserved;
    DWORD dwLayerMask, dwVisibleMask, dwDamageMask;
} PIXELFORMATDESCRIPTOR;
typedef struct _PRINTER_DEFAULTSA {
    LPSTR pDatatype;
    LPDEVMODEA pDevMode;
    DWORD DesiredAccess;
} PRINTER_DEFAULTSA, *LPPRINTER_DEFAULTSA;
typedef struct _PRINTER_INFO_2A {
    LPSTR pServerName, pPrinterName, pShareName, pPortName, pDriverName, pComment, pLocation;
    LPDEVMODEA pDevMode;
    LPSTR pSepFile, pPrintProcessor, pDatatype, pParameters;
    void *pSecurityDescriptor;
    DWORD Attributes, Priority, DefaultPriority, StartTime, UntilTime, Status, cJobs, AveragePPM;
} PRINTER_INFO_2A;
typedef struct _DRIVER_INFO_3A {
    DWORD cVersion;
    LPSTR pName, pEnvironment, pDriverPath, pDataFile, pConfigFile, pHelpFile, pDependentFiles,
        pMonitorName, pDefaultDataType;
} DRIVER_INFO_3A;
typedef BOOL(CALLBACK *MONITORENUMPROC)(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM data);
DECLARE_HANDLE(HMETAFILE);

/* ---- The functions: failing placeholders (placeholders_gdi32.c). ---- */
#define PLACEHOLDER(type, name, parameters, failure) type WINAPI name parameters;
#include "../placeholders_gdi32.def"
#undef PLACEHOLDER

#endif
