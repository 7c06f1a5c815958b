// The host's panel records: everything the module and the host share.
//
// Field order, types and sizes follow the host's published panel format, so a
// 32-bit Windows build is byte-compatible with the real host (checked by the
// static_asserts at the end, compiled with the i686 cross-compiler in CI). On
// this machine's 64-bit build the same declarations keep natural alignment.
// This is the only place that knows the layout; gauges declare their records
// through the helpers in declare.h.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define Z480_HOST_ABI 1
#define FSAPI __stdcall
#else
#define Z480_HOST_ABI 0
#define FSAPI
#endif

#if Z480_HOST_ABI
#pragma pack(push, 4)
#endif

extern "C" {

struct GaugeHeader;
struct GaugeElement;
struct MouseRect;

// Data passed with a gauge-callback service code (the module's instance
// handle at install). A 32-bit word on the real host, pointer-sized here.
using ServiceData = std::uintptr_t;

struct PixPoint {
  std::int32_t x, y;
};
struct PixBox {
  std::int32_t x, y, size_x, size_y;
};

// Off-screen image records, filled by the host; the module never touches them.
struct HostImage {
  std::uint32_t format_and_flags;
  PixPoint dim;
  std::uint32_t pitch;
  void *palette;
  std::uint32_t len;
  char *image;
  void *pdx;
};
struct HostImageSet {
  HostImage *final_image, *source, *reserved1, *reserved2;
};

// A host variable read through lookup_var: token set by the module, value by
// the host.
union HostValue {
  double n;
  std::int32_t b;
  std::uint32_t d;
  void *p;
};
struct ModuleVar {
  std::int32_t id;  // token number (0 = none)
  void *var_ptr;
  std::int32_t var_type;
  HostValue var_value;
  HostValue var_old;
};

struct NonlinearityEntry {
  PixPoint pt;     // point of the background the needle points at
  double value;    // value at which it points there
  double degrees;  // filled by the host: radians clockwise from up (pivot to pt)
};

struct FailureRecord {
  std::int32_t key;
  std::int32_t action;
  std::int32_t b_init;
};

// The host's failure keys: which simulated failure an element reacts to.
enum FailureKey : std::int32_t {
  kFailNone = 0,  // ends a failure list
  kFailSystemElectricalOld = 1,
  kFailSystemEngine = 2,
  kFailSystemPitotStatic = 3,
  kFailSystemVacuum = 4,
  kFailGaugeAdf = 5,
  kFailGaugeAirspeed = 6,
  kFailGaugeAltimeter = 7,
  kFailGaugeAttitude = 8,
  kFailGaugeCommunications = 9,
  kFailGaugeFuelIndicators = 10,
  kFailGaugeGyroHeading = 11,
  kFailGaugeMagneticCompass = 12,
  kFailGaugeNavigation = 13,
  kFailGaugeNavigationVor1 = 14,
  kFailGaugeNavigationVor2 = 15,
  kFailGaugeNavigationBoth = 16,
  kFailGaugeTransponder = 17,
  kFailGaugeTurnCoordinator = 18,
  kFailGaugeVerticalSpeed = 19,
  kFailSystemElectricalPanels = 20,
  kFailSystemElectricalAvionics = 21,
};

// What the host does to the element while its failure is active.
enum FailureAction : std::int32_t {
  kFailActionNone = 0,
  kFailActionFreeze = 1,
  kFailActionZero = 2,
  kFailActionNoDraw = 3,
  kFailActionCover = 4,
};

enum ElementKind : std::int32_t {
  kStaticImage = 0,
  kNeedle = 1,
  kString = 2,
  kSlider = 3,
  kIcon = 4,
  kMovingImage = 5,
  kSprite = 6,
};

// The header every element kind starts with.
struct GaugeElement {
  std::int32_t element_type;
  std::int32_t resource_id;  // bitmap resource id; -1 or 0 when none
  PixPoint position;
  PixPoint previous_position;
  PixPoint ofs;  // needle pivot in its own bitmap; sprite texture centre
  GaugeHeader *gauge_header;
  GaugeElement *previous_element;
  GaugeElement **next_element;  // null-terminated list of children
  FailureRecord *failure_systems;
  std::int32_t image_flags;
  std::int32_t aircraft_special_instrumentation;
  std::int32_t reserved;
};

using ModuleVarCallback = double(FSAPI *)(ModuleVar *);
using ValueFunction = double(FSAPI *)(double);

struct StaticImageElement {
  GaugeElement header;
  HostImageSet image_data;
  HostImage *save_buffer;
  void *hdc;
  void *hbmp;
  void *reserved1;
  HostImage *reserved2;
};

struct NeedleElement;
using NeedleCallback = double(FSAPI *)(NeedleElement *);
struct NeedleElement {
  GaugeElement header;
  ModuleVar source_var;
  ModuleVarCallback source_var_cb;
  ValueFunction display_value_fn;
  ValueFunction angle_fn;
  ValueFunction lag_fn;
  PixPoint reference;
  NonlinearityEntry *nonlinearity_table;
  std::uint32_t nonlinearity_table_size;  // entries, not bytes
  std::int32_t max_degrees_per_tick;
  double readout_goal;
  double theta_goal;
  double theta;
  PixPoint reference_old;
  PixPoint o0, o1, o2, o3;
  HostImageSet needle_data;
  HostImage *texture_data;
  std::uint32_t texture_handle;
  HostImage *save_buffer;
  PixPoint save_position;
  NeedleCallback update_cb;
  PixPoint save_size;
};

struct SeqRec {
  std::int32_t seq_id, sel_str, sel_end;
};

struct StringElement;
using StringCallback = double(FSAPI *)(StringElement *);
struct StringElement {
  GaugeElement header;
  ModuleVar source_var[3];
  double save_var[3];
  ModuleVarCallback source_var_cb[3];
  ValueFunction source_fn;
  char *string;  // text buffer, supplied by the host (max_string_length + 1 bytes)
  char *string_old;
  PixPoint img_size;
  HostImage *string_data;
  HostImage *save_buffer;
  std::uint32_t fg_color;  // 0x00BBGGRR
  std::uint32_t bg_color;
  std::uint32_t hilite_color;
  void *hdc;
  void *hfont;
  void *reserved1;
  void *hbmp;
  void *reserved2;
  void *hbrush;
  void *reserved3;
  char font_name[32];
  std::int32_t font_weight;
  std::uint8_t font_charset;
  std::uint32_t draw_text_flags;
  std::uint16_t max_string_length;
  std::uint16_t char_width;
  std::int16_t sel_str;
  std::int16_t sel_end;
  SeqRec *seq;
  std::int32_t save_global_seq;
  std::int32_t char_height;
  StringCallback update_cb;
  std::int32_t use_user_color;
  std::uint32_t user_color;
};

struct SliderElement;
using SliderCallback = double(FSAPI *)(SliderElement *);
struct SliderElement {
  GaugeElement header;
  ModuleVar source_var_x;
  ModuleVarCallback source_var_x_cb;
  double scale_x;
  ValueFunction lag_fn_x;
  ModuleVar source_var_y;
  ModuleVarCallback source_var_y_cb;
  double scale_y;
  ValueFunction lag_fn_y;
  HostImageSet slider_data;
  HostImage *save_buffer;
  SliderCallback update_x_cb;
  SliderCallback update_y_cb;
  double previous_x;
  double previous_y;
};

enum IconSwitchType : std::int32_t {
  kIconSetCurIcon = 0,
  kIconSetCurUsingRange = 1,
  kIconStepTo = 3,
  kIconStepToUsingRange = 4,
};

struct IconElement;
using IconCallback = double(FSAPI *)(IconElement *);
struct IconElement {
  GaugeElement header;
  ModuleVar source_var;
  ModuleVarCallback source_var_cb;
  std::int32_t switch_type;
  std::int32_t switch_count;
  double scale;
  std::int32_t offset;
  std::int32_t num_icons;
  std::int32_t cur_icon;
  std::int32_t dst_icon;
  HostImageSet *picon_data;
  HostImage *save_buffer;
  IconCallback update_cb;
  std::int32_t reserved1;
};

struct MovingImageElement;
using MovingImageCallback = double(FSAPI *)(MovingImageElement *);
struct MovingImageElement {
  GaugeElement header;
  ModuleVar source_var_x;
  ModuleVarCallback source_var_x_cb;
  double min_x;
  double max_x;
  ValueFunction lag_x;
  ModuleVar source_var_y;
  ModuleVarCallback source_var_y_cb;
  double min_y;
  double max_y;
  ValueFunction lag_y;
  double scale_x;
  double scale_y;
  double offset_x;
  double offset_y;
  PixPoint save_position;
  HostImageSet image_data;
  HostImageSet local_mask_data;
  HostImage *mask_data;
  HostImage *save_buffer;
  MovingImageCallback update_x_cb;
  MovingImageCallback update_y_cb;
  double previous_x;
  double previous_y;
};

struct SpriteElement;
using SpriteCallback = double(FSAPI *)(SpriteElement *);
struct SpriteElement {
  GaugeElement header;
  ModuleVar source_var_x;
  ModuleVarCallback source_var_x_cb;
  double scale_x;
  ModuleVar source_var_y;
  ModuleVarCallback source_var_y_cb;
  double scale_y;
  ModuleVar source_var_0;  // rotation
  ModuleVarCallback source_var_0_cb;
  double scale_0;
  float texture_scale_x;
  float texture_scale_y;
  PixPoint reference;
  PixPoint reference_old;
  PixPoint o0, o1, o2, o3;
  PixPoint os0, os1, os2, os3;
  HostImageSet sprite_data;
  HostImage *texture_data;
  std::uint32_t texture_handle;
  HostImageSet local_mask_data;
  HostImage *mask_data;
  HostImage *save_buffer;
  SpriteCallback update_x_cb;
  SpriteCallback update_y_cb;
  SpriteCallback update_0_cb;
  double previous_x;
  double previous_y;
  double previous_0;
};

enum MouseRectType : std::int32_t {
  kMouseEnd = 0,
  kMouseParent = 1,
  kMouseChild = 2,
  kMouseEndParent = 3,
  kMouseTooltip = 4,
};

enum CursorType : std::int32_t {
  kCursorNone = -1,
  kCursorNormal = 0,
  kCursorUpArrow = 1,
  kCursorDownArrow = 2,
  kCursorHand = 5,
};

// Mouse flags (the button or motion a rectangle answers to).
enum : std::uint32_t {
  kMouseRightSingle = 0x80000000u,
  kMouseMiddleSingle = 0x40000000u,
  kMouseLeftSingle = 0x20000000u,
  kMouseLeftDrag = 0x00800000u,
  kMouseMove = 0x00400000u,
  kMouseDownRepeat = 0x00200000u,
};

// Image flags (GaugeElement::image_flags). Bits 0 to 15 are set when the
// element is declared; bits 25 to 31 change at run time.
enum : std::uint32_t {
  kImageUseTransparency = 0x00000001u,
  kImageUseErase = 0x00000002u,
  kImageUseBright = 0x00000004u,
  kImageEraseOnFailure = 0x00000008u,
  kImageNoStaticBlending = 0x00000010u,
  kImageCreateDibSection = 0x00000020u,
  kImageBilinearGray = 0x00000040u,
  kImageBilinearColor = 0x00000080u,
  kImagePreserveColorInHud = 0x00000100u,
  kImageContainsNoMask = 0x00000200u,
  kImageSpriteForceTrans = 0x00000400u,
  kImageBltMaskOnly = 0x00000800u,
  kImageContainsMask = 0x00001000u,
  kImageUseAlpha = 0x00002000u,
  kImageUseLuminous = 0x00004000u,  // lit while the panel lights are on
  kImageUseLuminousPartial = 0x00008000u,
  kImageHiddenTree = 0x02000000u,
  kImageNoStretch = 0x08000000u,
  kImageHudColorMap = 0x10000000u,
  kImageNoTranslation = 0x20000000u,
  kImageHidden = 0x40000000u,
  kImageOnScreen = 0x80000000u,
};

// The click record the host passes to a mouse callback.
struct MouseCallbackRecord {
  PixPoint relative_point;  // relative to the clicked child rectangle
  GaugeHeader *gauge;       // the clicked instance (the real host's user-data word)
  MouseRect *mouse;         // the clicked rectangle
  PixPoint screen_point;
  void *reserved;
};
using MouseCallback = std::int32_t(FSAPI *)(MouseCallbackRecord *, std::uint32_t flags);

// Tooltip argument record (type-4 mouse records point at an array of these).
using TooltipNumberCallback = double(FSAPI *)(double, std::int32_t, const char *, ModuleVar *,
                                              GaugeHeader *);
using TooltipIdCallback = std::int32_t(FSAPI *)(double, std::int32_t, const char *, ModuleVar *,
                                                GaugeHeader *);
using TooltipStringCallback = const char *(FSAPI *)(double, std::int32_t, const char *,
                                                    ModuleVar *, GaugeHeader *);
struct MouseArg {
  ModuleVar source_var;
  double scale;
  void *numeric_table;
  std::uint32_t numeric_table_size;
  void *id_table;
  std::uint32_t id_table_size;
  void *string_table;
  std::uint32_t string_table_size;
  TooltipNumberCallback numeric_callback;
  TooltipIdCallback id_callback;
  TooltipStringCallback string_callback;
};

struct MouseRect {
  std::int32_t rect_type;
  PixBox relative_box;
  std::int32_t cursor;
  std::int32_t help_id;
  std::uint32_t mouse_flags;
  std::int32_t event_id;
  MouseCallback mouse_function;  // a tooltip record keeps its format string here
  void *api_data;                // a tooltip record keeps its MouseArg array here
};

using GaugeCallback = void(FSAPI *)(GaugeHeader *, std::int32_t service, ServiceData extra);
using PlainRoutine = void(FSAPI *)();
using InstallRoutine = void(FSAPI *)(void *resources);
using GenerateRoutine = void(FSAPI *)(std::uint32_t phase);

// Gauge-callback service codes.
enum : std::int32_t {
  kServiceInstall = 2,
  kServicePostInstall = 3,
  kServicePreUpdate = 6,
  kServiceKill = 12,
  kServiceConnect = 14,
  kServiceDisconnect = 15,
};

struct GaugeHeader {
  std::uint32_t gauge_header_version;
  const char *gauge_name;
  GaugeElement **elements_list;
  // The header routines (declare.h: each hands the gauge's root element to
  // the matching element-list service).
  PlainRoutine query_routine;
  InstallRoutine install_routine;
  PlainRoutine initialize_routine;
  PlainRoutine update_routine;
  GenerateRoutine generate_routine;
  PlainRoutine draw_routine;
  PlainRoutine kill_routine;
  void *reserved1;
  std::uint32_t size_x_mm;
  std::uint32_t size_y_mm;
  float x_adjust;
  float y_adjust;
  void *reserved2;
  void *reserved3;
  PixPoint position;
  void *reserved4;
  MouseRect *mouse_rect;
  GaugeCallback gauge_callback;
  std::uint32_t user_data;
  const char *parameters;
  const char *usage;
  std::int32_t reserved5;
  void *reserved6;
  PixPoint size;
  double user_area[10];
  std::uint32_t flags;
  void *reserved7;
};

// The host's panel-services table. Only the slots the module calls are
// named; the rest keep their places.
using PanelSlot = void(FSAPI *)();
struct PanelServices {
  std::int32_t module_id;
  PlainRoutine module_init;
  PlainRoutine module_deinit;
  std::uint32_t module_flags;
  std::uint32_t module_priority;
  std::uint32_t module_version;
  PanelSlot slots_0_17[18];
  // The element-list services: each works on the element tree from the
  // element given. The header routines hand them the gauge's root.
  void(FSAPI *element_list_query)(GaugeElement *root);                     // slot 18
  void(FSAPI *element_list_install)(GaugeElement *root, void *resources);  // 19
  void(FSAPI *element_list_initialize)(GaugeElement *root);                // 20
  void(FSAPI *element_list_update)(GaugeElement *root);                    // 21
  void(FSAPI *element_list_generate)(GaugeElement *root, std::uint32_t phase);  // 22
  void(FSAPI *element_list_plot)(GaugeElement *root);                      // 23
  void(FSAPI *element_list_erase)(GaugeElement *root);                     // 24
  void(FSAPI *element_list_kill)(GaugeElement *root);                      // 25
  PanelSlot slots_26_28[3];
  std::int32_t(FSAPI *toggle_panel_window)(std::uint32_t ident);         // slot 29
  std::uint32_t(FSAPI *trigger_key_event)(std::int32_t id, std::uint32_t value);  // 30
  PanelSlot slots_31_33[3];
  void(FSAPI *lookup_var)(ModuleVar *var);  // slot 34
  PanelSlot slots_35_68[34];
  double(FSAPI *aircraft_varget)(std::int32_t var, std::int32_t units, std::int32_t index);  // 69
  PanelSlot slot_70;
  void *(FSAPI *query_host_interface)(const char *name);  // slot 71
  PanelSlot slots_72_75[4];
};

struct ImportEntry {
  std::int32_t fn_id;
  PanelServices *fn_ptr;
};
struct GaugeImport {
  ImportEntry panels;  // {0x0F, filled by the host}
  ImportEntry null_entry;
};

// How many gauges the module lists: one for each line of the gauge list.
inline constexpr std::size_t kGaugeCount = 0
#define Z480_GAUGE(name) +1
#include "frame/gauge_list.inc"
#undef Z480_GAUGE
    ;

struct GaugeLinkage {
  std::int32_t module_id;
  PlainRoutine module_init;
  PlainRoutine module_deinit;
  std::uint32_t module_flags;
  std::uint32_t module_priority;
  std::uint32_t module_version;
  GaugeHeader *gauge_header_ptr[kGaugeCount + 1];  // every gauge, then a null entry
};

}  // extern "C"

inline constexpr std::int32_t kModuleId = 0x13;
inline constexpr std::uint32_t kModuleVersion = 0x900;
inline constexpr std::int32_t kPanelsImportId = 0x0F;
inline constexpr std::uint32_t kGaugeHeaderVersion = 800;

#if Z480_HOST_ABI
#pragma pack(pop)

// The real host's layout (32-bit, 4-byte packing).
static_assert(sizeof(PixPoint) == 8 && sizeof(PixBox) == 16);
static_assert(sizeof(HostImage) == 32 && offsetof(HostImage, dim) == 4 &&
              offsetof(HostImage, pitch) == 12 && offsetof(HostImage, image) == 24 &&
              offsetof(HostImage, pdx) == 28);
static_assert(sizeof(HostImageSet) == 16);
static_assert(sizeof(HostValue) == 8);
static_assert(sizeof(ModuleVar) == 28 && offsetof(ModuleVar, var_type) == 8 &&
              offsetof(ModuleVar, var_value) == 12 && offsetof(ModuleVar, var_old) == 20);
static_assert(sizeof(NonlinearityEntry) == 24 && offsetof(NonlinearityEntry, value) == 8 &&
              offsetof(NonlinearityEntry, degrees) == 16);
static_assert(sizeof(FailureRecord) == 12);
static_assert(sizeof(SeqRec) == 12);
static_assert(sizeof(GaugeHeader) == 204 && offsetof(GaugeHeader, elements_list) == 8 &&
              offsetof(GaugeHeader, size_x_mm) == 44 && offsetof(GaugeHeader, position) == 68 &&
              offsetof(GaugeHeader, mouse_rect) == 80 &&
              offsetof(GaugeHeader, gauge_callback) == 84 &&
              offsetof(GaugeHeader, user_data) == 88 && offsetof(GaugeHeader, parameters) == 92 &&
              offsetof(GaugeHeader, size) == 108 && offsetof(GaugeHeader, user_area) == 116 &&
              offsetof(GaugeHeader, flags) == 196);
static_assert(sizeof(GaugeElement) == 60 && offsetof(GaugeElement, gauge_header) == 32 &&
              offsetof(GaugeElement, next_element) == 40 &&
              offsetof(GaugeElement, failure_systems) == 44 &&
              offsetof(GaugeElement, image_flags) == 48);
static_assert(sizeof(StaticImageElement) == 96 && offsetof(StaticImageElement, image_data) == 60 &&
              offsetof(StaticImageElement, hdc) == 80);
static_assert(sizeof(NeedleElement) == 236 && offsetof(NeedleElement, source_var) == 60 &&
              offsetof(NeedleElement, nonlinearity_table) == 112 &&
              offsetof(NeedleElement, nonlinearity_table_size) == 116 &&
              offsetof(NeedleElement, readout_goal) == 124 &&
              offsetof(NeedleElement, needle_data) == 188 &&
              offsetof(NeedleElement, update_cb) == 224 && offsetof(NeedleElement, save_size) == 228);
static_assert(sizeof(StringElement) == 324 && offsetof(StringElement, save_var) == 144 &&
              offsetof(StringElement, string) == 184 && offsetof(StringElement, fg_color) == 208 &&
              offsetof(StringElement, font_name) == 248 &&
              offsetof(StringElement, font_charset) == 284 &&
              offsetof(StringElement, draw_text_flags) == 288 &&
              offsetof(StringElement, max_string_length) == 292 &&
              offsetof(StringElement, seq) == 300 && offsetof(StringElement, update_cb) == 312 &&
              offsetof(StringElement, user_color) == 320);
static_assert(sizeof(SliderElement) == 192 && offsetof(SliderElement, source_var_y) == 104 &&
              offsetof(SliderElement, slider_data) == 148 &&
              offsetof(SliderElement, previous_x) == 176);
static_assert(sizeof(IconElement) == 140 && offsetof(IconElement, switch_type) == 92 &&
              offsetof(IconElement, scale) == 100 && offsetof(IconElement, picon_data) == 124 &&
              offsetof(IconElement, update_cb) == 132);
static_assert(sizeof(MovingImageElement) == 268 &&
              offsetof(MovingImageElement, source_var_y) == 112 &&
              offsetof(MovingImageElement, image_data) == 204 &&
              offsetof(MovingImageElement, update_x_cb) == 244 &&
              offsetof(MovingImageElement, previous_y) == 260);
static_assert(sizeof(SpriteElement) == 352 && offsetof(SpriteElement, source_var_0) == 140 &&
              offsetof(SpriteElement, texture_scale_x) == 180 &&
              offsetof(SpriteElement, sprite_data) == 268 &&
              offsetof(SpriteElement, update_0_cb) == 324 &&
              offsetof(SpriteElement, previous_0) == 344);
static_assert(sizeof(MouseRect) == 44 && offsetof(MouseRect, relative_box) == 4 &&
              offsetof(MouseRect, cursor) == 20 && offsetof(MouseRect, help_id) == 24 &&
              offsetof(MouseRect, mouse_flags) == 28 && offsetof(MouseRect, event_id) == 32 &&
              offsetof(MouseRect, mouse_function) == 36 && offsetof(MouseRect, api_data) == 40);
static_assert(sizeof(MouseCallbackRecord) == 28 && offsetof(MouseCallbackRecord, gauge) == 8 &&
              offsetof(MouseCallbackRecord, mouse) == 12 &&
              offsetof(MouseCallbackRecord, screen_point) == 16);
static_assert(sizeof(MouseArg) == 72 && offsetof(MouseArg, scale) == 28 &&
              offsetof(MouseArg, numeric_table) == 36 &&
              offsetof(MouseArg, numeric_callback) == 60 &&
              offsetof(MouseArg, string_callback) == 68);
// The 24-byte linkage block that opens both Linkage and the services table.
static_assert(offsetof(GaugeLinkage, module_version) == 20 &&
              offsetof(GaugeLinkage, gauge_header_ptr) == 24);
static_assert(offsetof(PanelServices, module_version) == 20 &&
              offsetof(PanelServices, slots_0_17) == 24);
static_assert(offsetof(PanelServices, element_list_query) == 96 &&
              offsetof(PanelServices, element_list_install) == 100 &&
              offsetof(PanelServices, element_list_update) == 108 &&
              offsetof(PanelServices, element_list_generate) == 112 &&
              offsetof(PanelServices, element_list_plot) == 116 &&
              offsetof(PanelServices, element_list_kill) == 124 &&
              offsetof(PanelServices, slots_26_28) == 128);
static_assert(sizeof(GaugeImport) == 16 && offsetof(GaugeImport, panels) + offsetof(ImportEntry, fn_ptr) == 4 &&
              offsetof(GaugeImport, null_entry) == 8);
static_assert(sizeof(PanelServices) == 328 && offsetof(PanelServices, toggle_panel_window) == 140 &&
              offsetof(PanelServices, trigger_key_event) == 144 &&
              offsetof(PanelServices, slots_31_33) + sizeof(PanelSlot) == 152 &&  // initialize_var
              offsetof(PanelServices, lookup_var) == 160 &&
              offsetof(PanelServices, aircraft_varget) == 300 &&
              offsetof(PanelServices, query_host_interface) == 308 &&
              offsetof(PanelServices, slots_72_75) + sizeof(PanelSlot) == 316);  // send_key_event
#endif
