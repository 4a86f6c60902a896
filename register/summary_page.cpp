#include "register/summary_page.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_mode.h"

namespace quorveno {
namespace {

constexpr std::string_view kPageStart = R"(<!DOCTYPE html>
<html lang="it">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'">
<meta name="viewport" content="width=device-width">
<title>Registro della classe</title>
<style>
@page { size: A4; margin: 10mm; }
body { font-family: sans-serif; font-size: 10pt; color: #000; background: #fff; max-width: 190mm; margin: 0.5em auto; }
h1 { font-size: 16pt; margin: 0 0 0.2em; }
h2 { font-size: 12pt; margin: 0.8em 0 0.3em; }
p { margin: 0.3em 0; }
table { border-collapse: collapse; width: 100%; font-size: 8.5pt; line-height: 1.15; }
th, td { border: 1px solid #999; padding: 0.1em 0.3em; text-align: right; vertical-align: middle; }
td:first-child { overflow-wrap: anywhere; }
th.nome { width: 22%; }
th:first-child, td:first-child, .modi { text-align: left; }
th { background: #eee; font-weight: bold; font-size: 8pt; }
tr { break-inside: avoid; }
td.grafico { width: 62mm; padding: 0.2em; }
svg { display: block; width: 62mm; height: 24mm; }
svg text { font-family: sans-serif; font-size: 10px; fill: #000; }
.nota { color: #444; font-size: 8pt; }
.avviso { font-weight: bold; }
@media print {
  body { max-width: none; margin: 0; }
  th, svg { print-color-adjust: exact; -webkit-print-color-adjust: exact; }
}
</style>
</head>
<body>
<h1>Registro della classe</h1>
)";

// What every page starts with, whatever it holds.
constexpr std::string_view kPageSignature = kPageStart.substr(0, kPageStart.find("<style>"));

// A pupil's chart shows the last kChartCompetitions competitions.
constexpr std::size_t kChartCompetitions = 30;
constexpr std::size_t kChartMinimumColumns = 10;

constexpr std::string_view kPageEnd = "</body>\n</html>\n";

// "07/12/2026" from "2026-12-07".
std::string ItalianDate(const std::string& date) {
  return date.size() == 10 ? date.substr(8, 2) + "/" + date.substr(5, 2) + "/" + date.substr(0, 4) : date;
}

// The text made safe inside HTML, between tags and in quoted attributes.
std::string HtmlEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char ch : text) {
    switch (ch) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += ch;
    }
  }
  return escaped;
}

std::string Cell(std::string_view text) { return "<td>" + HtmlEscaped(text) + "</td>"; }
std::string Cell(long number) { return Cell(std::to_string(number)); }

std::string Percent(int part, int whole) { return std::to_string(PercentRight({part, whole})) + "%"; }

std::string ShownName(const PupilSummary& pupil) {
  return pupil.name.empty() ? std::string("(senza nome)") : pupil.name;
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// A coordinate with one decimal, a point whatever the program's locale.
std::string Number(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1).ptr;
  return std::string(text, end);
}

// The chart's drawing, in units of a quarter millimetre as printed: the
// plot's left, right, top and bottom, with the scale's numbers to its left
// and the games' numbers below.
constexpr int kChartWidth = 248;
constexpr int kChartHeight = 96;
constexpr double kPlotLeft = 30, kPlotRight = 244, kPlotTop = 8, kPlotBottom = 80;

std::string Label(double x, double y, std::string_view anchor, std::string_view text) {
  return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + std::string(anchor) + "\">" +
         HtmlEscaped(text) + "</text>";
}

std::string Line(double x1, double y1, double x2, double y2, std::string_view colour) {
  return "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) + "\" y2=\"" + Number(y2) +
         "\" stroke=\"" + std::string(colour) + "\" stroke-width=\"0.8\"/>";
}

std::string Bar(double x, double width, double top, double height, std::string_view colour) {
  return "<rect x=\"" + Number(x) + "\" y=\"" + Number(top) + "\" width=\"" + Number(width) + "\" height=\"" +
         Number(height) + "\" fill=\"" + std::string(colour) + "\"/>";
}

std::string GamesText(std::size_t count, const GameMode& mode) {
  return mode.timed() ? Counted(count, "gara", "gare") : Counted(count, "allenamento", "allenamenti");
}

// A pupil's chart: one column per competition, right answers in green below
// the wrong ones in red, lighter for a practice, as inline SVG; a scale of
// answers on the left, from 0 to the most in one competition, and the
// numbers of the first and last competition shown below. Room for at least
// kChartMinimumColumns, so that a few competitions show as narrow columns
// rather than wide blocks.
std::string CompetitionChart(const PupilSummary& pupil) {
  const auto& all = pupil.competitions;
  const std::size_t shown = std::min(all.size(), kChartCompetitions);
  const auto first = all.end() - static_cast<std::ptrdiff_t>(shown);
  int most = 1;
  for (auto it = first; it != all.end(); ++it) most = std::max(most, it->right + it->wrong);
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + std::to_string(kChartWidth) + " " +
                    std::to_string(kChartHeight) + "\" role=\"img\"><title>" +
                    HtmlEscaped(Counted(shown, "colonna", "colonne")) +
                    ": risposte giuste in verde, sbagliate in rosso, da 0 a " + std::to_string(most) + "</title>";
  const auto height = [most](int answers) { return answers * (kPlotBottom - kPlotTop) / most; };
  std::vector<int> ticks = {0, most};
  if (most >= 4) ticks.insert(ticks.begin() + 1, most / 2);
  for (const int tick : ticks) {
    const double y = kPlotBottom - height(tick);
    svg += Line(kPlotLeft - 2, y, kPlotRight, y, tick == 0 ? "#000" : "#bbb");
    svg += Label(kPlotLeft - 4, y + 3.5, "end", std::to_string(tick));
  }
  svg += Line(kPlotLeft, kPlotTop, kPlotLeft, kPlotBottom, "#000");
  const double slot = (kPlotRight - kPlotLeft) / static_cast<double>(std::max(shown, kChartMinimumColumns));
  double x = kPlotLeft + slot * 0.15;
  for (auto it = first; it != all.end(); ++it, x += slot) {
    const bool practice = !it->mode.timed();
    const double rightHeight = height(it->right);
    const double wrongHeight = height(it->wrong);
    const double top = kPlotBottom - rightHeight;
    if (it->right > 0) svg += Bar(x, slot * 0.7, top, rightHeight, practice ? "#81c784" : "#2e7d32");
    if (it->wrong > 0) svg += Bar(x, slot * 0.7, top - wrongHeight, wrongHeight, practice ? "#ef9a9a" : "#c62828");
  }
  const double firstCentre = kPlotLeft + slot * 0.5;
  const double lastCentre = firstCentre + slot * static_cast<double>(shown - 1);
  if (shown > 0) svg += Label(firstCentre, kChartHeight - 4, "middle", std::to_string(all.size() - shown + 1));
  if (shown > 1) svg += Label(lastCentre, kChartHeight - 4, "middle", std::to_string(all.size()));
  return svg + "</svg>";
}

std::string PupilRows(const ClassSummary& summary) {
  std::string rows;
  for (const PupilSummary& pupil : summary.pupils) {
    rows += "<tr>" + Cell(ShownName(pupil)) + Cell(static_cast<long>(pupil.competitions.size())) +
            Cell(pupil.answers) + Cell(Percent(pupil.right, pupil.answers)) +
            (pupil.bestScore ? Cell(*pupil.bestScore) : Cell("—")) +
            Cell(ItalianDate(pupil.lastDay)) + Cell(pupil.mistakes.denominatorsAdded) +
            Cell(pupil.mistakes.notReduced) + Cell(pupil.mistakes.other) + "</tr>\n";
  }
  return rows;
}

std::string ModesCell(const PupilSummary& pupil) {
  std::string cell = "<td class=\"modi\">";
  for (const ModeTally& mode : pupil.modes) {
    if (&mode != &pupil.modes.front()) cell += "<br>";
    cell += HtmlEscaped(ModeText(mode.mode) + ": " + GamesText(static_cast<std::size_t>(mode.competitions), mode.mode) +
                        ", " + std::to_string(PercentRight(mode.share)) + "% giuste");
  }
  return cell + "</td>";
}

std::string HalvesCells(const PupilSummary& pupil) {
  const HalvesTally& halves = pupil.halves;
  if (halves.competitionsEach == 0) {
    const bool practice = !pupil.competitions.empty() && !pupil.competitions.front().mode.timed();
    return "<td colspan=\"2\">" + std::string(practice ? "un solo allenamento" : "una sola gara") +
           ": ancora nessun confronto</td>";
  }
  using Trend = HalvesTally::Trend;
  const std::string_view trend = halves.trend == Trend::Up     ? "in crescita"
                                 : halves.trend == Trend::Down ? "in calo"
                                                               : "stabile";
  return Cell(std::to_string(PercentRight(halves.first)) + "% giuste") +
         Cell(std::to_string(PercentRight(halves.second)) + "% giuste, " + std::string(trend));
}

std::string ProgressRows(const ClassSummary& summary) {
  std::string rows;
  for (const PupilSummary& pupil : summary.pupils) {
    rows += "<tr>" + Cell(ShownName(pupil)) + ModesCell(pupil) + HalvesCells(pupil) + "<td class=\"grafico\">" +
            CompetitionChart(pupil) + "</td></tr>\n";
  }
  return rows;
}

std::string SumRows(const ClassSummary& summary) {
  std::string rows;
  for (const SumSummary& sum : summary.mostOftenWrong) {
    rows += "<tr>" + Cell(sum.problem) +
            Cell(Counted(static_cast<std::size_t>(sum.wrong), "volta", "volte") + " su " +
                 std::to_string(sum.answers)) +
            Cell(sum.mistakes.notReduced) + Cell(sum.mistakes.denominatorsAdded) + Cell(sum.mistakes.other) + "</tr>\n";
  }
  return rows;
}

}  // namespace

std::string SummaryPage(const ClassSummary& summary) {
  std::string page(kPageStart);
  if (summary.answers == 0) {
    page += "<p>Il registro non ha ancora nessuna risposta.</p>\n";
  } else {
    page += "<p>" + Counted(summary.answers, "risposta", "risposte") + " di " +
            Counted(summary.pupils.size(), "alunno", "alunni") + ", dal " + ItalianDate(summary.firstDay) +
            " al " + ItalianDate(summary.lastDay) + ".</p>\n";
  }
  if (summary.unreadLines > 0) {
    page += "<p class=\"avviso\">" + Counted(summary.unreadLines, "riga non letta", "righe non lette") + "</p>\n";
  }
  if (!summary.pupils.empty()) {
    page += "<h2>Alunni</h2>\n<table>\n<thead><tr><th class=\"nome\">Alunno</th><th>Gare e allenamenti</th>"
            "<th>Risposte</th><th>Giuste</th><th>Miglior punteggio</th><th>Ultimo giorno</th>"
            "<th>Denominatori sommati</th><th>Non semplificate</th><th>Altri errori</th></tr></thead>\n"
            "<tbody>\n" +
            PupilRows(summary) + "</tbody>\n</table>\n";
    page += "<h2>Andamento di ogni alunno</h2>\n<table>\n<thead><tr><th class=\"nome\">Alunno</th>"
            "<th class=\"modi\">Per modalità</th><th>Prima metà</th><th>Seconda metà</th>"
            "<th>Risposte di gare e allenamenti, nel tempo</th></tr></thead>\n<tbody>\n" +
            ProgressRows(summary) + "</tbody>\n</table>\n";
    page += "<p class=\"nota\">Miglior punteggio: nelle gare da " + std::to_string(kRecordMinutes) +
            " minuti, come il record. Per modalità: le gare di ogni durata e gli allenamenti, senza tempo, con la parte di "
            "risposte giuste. Prima e seconda metà: le gare e gli allenamenti di ogni alunno in ordine di tempo, divisi "
            "in due metà di ugual numero (se sono dispari, quello di mezzo non conta), così che ognuno sia confrontato "
            "con sé stesso. Nel grafico le colonne sono le gare e gli allenamenti in ordine di tempo (al più gli "
            "ultimi " +
            std::to_string(kChartCompetitions) +
            ", numerati sotto): in verde le risposte giuste, sopra in rosso le sbagliate, più chiare negli "
            "allenamenti; la scala a sinistra conta le risposte.</p>\n";
  }
  if (!summary.mostOftenWrong.empty()) {
    page += "<h2>Le somme più sbagliate</h2>\n<table>\n<thead><tr><th>Somma</th><th>Sbagliata</th>"
            "<th>Non semplificata</th><th>Denominatori sommati</th><th>Altro</th></tr></thead>\n<tbody>\n" +
            SumRows(summary) + "</tbody>\n</table>\n";
    page += "<p class=\"nota\">Non semplificata: il valore giusto, non ridotto ai minimi termini (5/15 invece di "
            "1/3). Denominatori sommati: sommati anche i denominatori (2/10 per 1/5 + 1/5).</p>\n";
  }
  return page + std::string(kPageEnd);
}

bool IsSummaryPageStart(std::string_view start) { return start.starts_with(kPageSignature); }

}  // namespace quorveno
