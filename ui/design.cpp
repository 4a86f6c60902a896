#include "ui/design.h"

#include <array>

namespace quorveno {
namespace {

constexpr QRgb kYellow = 0xFFFFFF00;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kCyan = 0xFF00FFFF;
constexpr QRgb kDarkGreen = 0xFF008000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kMagenta = 0xFFFF00FF;

constexpr FontDesign kSerif36Bold{"Times New Roman", 36, true};
constexpr FontDesign kSans48Bold{"Arial", 48, true};
constexpr FontDesign kSans18{"MS Sans Serif", 18};
constexpr FontDesign kSmallBold{"MS Sans Serif", 8.25, true};

constexpr const char* kAnswerTip = "Inserisci il risultato e  premi il tasto  Invio";

using K = ControlKind;

// Designated fields keep each row readable against the layout it describes.
constexpr std::array kControls = {
    ControlDesign{.name = "Text1", .kind = K::TextBox, .left = 480, .top = 120, .width = 1455, .height = 855,
                  .caption = "1", .font = kSerif36Bold, .centred = true},
    ControlDesign{.name = "Text2", .kind = K::TextBox, .left = 480, .top = 1200, .width = 1455, .height = 855,
                  .caption = "2", .font = kSerif36Bold, .centred = true},
    ControlDesign{.name = "Label2", .kind = K::Label, .left = 2880, .top = 480, .width = 855, .height = 1335,
                  .caption = "+", .font = {"Arial", 48, true}},
    ControlDesign{.name = "Text5", .kind = K::TextBox, .left = 4320, .top = 120, .width = 1455, .height = 855,
                  .caption = "5", .font = kSerif36Bold, .centred = true},
    ControlDesign{.name = "Text6", .kind = K::TextBox, .left = 4320, .top = 1200, .width = 1455, .height = 855,
                  .caption = "6", .font = kSerif36Bold, .centred = true},
    ControlDesign{.name = "Label4", .kind = K::Label, .left = 6840, .top = 480, .width = 615, .height = 975,
                  .caption = "=", .font = {"Arial", 48, true}, .centred = true},
    ControlDesign{.name = "txtAnswer", .kind = K::TextBox, .left = 8640, .top = 120, .width = 1815, .height = 1200,
                  .caption = "9", .font = kSans48Bold, .background = kCyan, .centred = true,
                  .toolTip = kAnswerTip},
    ControlDesign{.name = "Text3", .kind = K::TextBox, .left = 8640, .top = 1800, .width = 1815, .height = 1200,
                  .caption = "10", .font = kSans48Bold, .background = kCyan, .centred = true,
                  .toolTip = kAnswerTip},
    ControlDesign{.name = "Text9", .kind = K::TextBox, .left = 6000, .top = 2160, .width = 615, .height = 495,
                  .caption = "9", .visible = false},
    ControlDesign{.name = "Text10", .kind = K::TextBox, .left = 6120, .top = 2880, .width = 615, .height = 375,
                  .caption = "10", .visible = false},
    ControlDesign{.name = "Label11", .kind = K::Label, .left = 240, .top = 2280, .width = 2415, .height = 375,
                  .caption = "Tempo restante", .font = {"MS Sans Serif", 13.5, true}, .textColour = kYellow},
    ControlDesign{.name = "lblconto", .kind = K::Label, .left = 600, .top = 2760, .width = 1575, .height = 495,
                  .caption = "00.00.00", .font = {"Arial Black", 12, true}, .textColour = kRed, .border = true},
    ControlDesign{.name = "lblMessage", .kind = K::Label, .left = 2040, .top = 2400, .width = 6615, .height = 615,
                  .caption = "", .font = {"MS Sans Serif", 24, true, true}, .textColour = kRed, .centred = true,
                  .pointer = Pointer::Icon},
    ControlDesign{.name = "Label6", .kind = K::Label, .left = 240, .top = 3360, .width = 2565, .height = 495,
                  .caption = "Risposte esatte", .font = kSans18, .textColour = kYellow, .border = true,
                  .centred = true, .fitsCaption = true},
    ControlDesign{.name = "Label1", .kind = K::Label, .left = 3840, .top = 3360, .width = 2520, .height = 495,
                  .caption = "Risposte errate", .font = kSans18, .textColour = kRed, .border = true,
                  .fitsCaption = true},
    ControlDesign{.name = "Label3", .kind = K::Label, .left = 7440, .top = 3360, .width = 2340, .height = 495,
                  .caption = "Risposte totali", .font = kSans18, .textColour = kBlue, .border = true,
                  .fitsCaption = true},
    ControlDesign{.name = "lblScore", .kind = K::Label, .left = 1080, .top = 4080, .width = 555, .height = 885,
                  .caption = "0", .font = kSerif36Bold, .textColour = kYellow, .border = true, .centred = true,
                  .fitsCaption = true, .toolTip = "Questo è il tuo punteggio. Forza con il  record"},
    ControlDesign{.name = "lblScore1", .kind = K::Label, .left = 4830, .top = 4080, .width = 540, .height = 885,
                  .caption = "0", .font = kSerif36Bold, .textColour = kRed, .border = true, .centred = true,
                  .fitsCaption = true},
    ControlDesign{.name = "lblScore2", .kind = K::Label, .left = 8310, .top = 4080, .width = 555, .height = 885,
                  .caption = "0", .font = kSerif36Bold, .textColour = kBlue, .border = true, .centred = true,
                  .fitsCaption = true},
    ControlDesign{.name = "cmdNext", .kind = K::Button, .left = 4320, .top = 5040, .width = 1815, .height = 1095,
                  .caption = "&Nuovo calcolo", .font = kSmallBold, .background = 0xFF00C0C0, .toolTip = "Go",
                  .pointer = Pointer::Icon},
    ControlDesign{.name = "cmdExit", .kind = K::Button, .left = 7680, .top = 5040, .width = 1815, .height = 1095,
                  .caption = "E&xit", .font = kSmallBold, .background = 0xFFFF8000,
                  .toolTip = "Allora ti arrendi?", .pointer = Pointer::Waving},
    ControlDesign{.name = "Label14", .kind = K::Label, .left = 480, .top = 5400, .width = 1845, .height = 615,
                  .caption = "Sfidante", .font = {"MS Sans Serif", 24}, .textColour = kDarkGreen, .border = true,
                  .centred = true, .fitsCaption = true},
    ControlDesign{.name = "lblnome1", .kind = K::Label, .left = 480, .top = 6480, .width = 180, .height = 495,
                  .caption = "", .font = {"MS Sans Serif", 18, true}, .textColour = kDarkGreen, .border = true,
                  .fitsCaption = true},
    ControlDesign{.name = "Label12", .kind = K::Label, .left = 120, .top = 7200, .width = 2295, .height = 375,
                  .caption = "Il record  è di ", .font = kSans18, .textColour = kCyan},
    ControlDesign{.name = "lblnome", .kind = K::Label, .left = 2520, .top = 7200, .width = 5535, .height = 495,
                  .caption = "", .font = kSans18, .textColour = kCyan, .pointer = Pointer::Note},
    ControlDesign{.name = "Label13", .kind = K::Label, .left = 8280, .top = 7200, .width = 1455, .height = 435,
                  .caption = "con punti", .font = kSans18, .textColour = kCyan, .fitsCaption = true},
    ControlDesign{.name = "lblpunti", .kind = K::Label, .left = 9960, .top = 7080, .width = 270, .height = 555,
                  .caption = "0", .font = {"MS Sans Serif", 24}, .textColour = kGreen, .fitsCaption = true},
};

constexpr std::array kLines = {
    LineDesign{0, 240, 1080, 2160, 1080, kMagenta, 5},
    LineDesign{1, 4080, 1080, 6000, 1080, kMagenta, 5},
    LineDesign{4, 8280, 1560, 10680, 1560, kMagenta, 5},
};

}  // namespace

std::span<const ControlDesign> ControlDesigns() { return kControls; }
std::span<const LineDesign> LineDesigns() { return kLines; }

}  // namespace quorveno
