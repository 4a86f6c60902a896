#include "register/summary_page.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

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
table { border-collapse: collapse; width: 100%; table-layout: fixed; font-size: 8.5pt; line-height: 1.15; }
th, td { border: 1px solid #999; padding: 0.1em 0.3em; text-align: right; vertical-align: middle; }
td:first-child { overflow-wrap: anywhere; }
th.nome { width: 21%; }
th.giorno { width: 18mm; }
th.errore { width: 8%; }
th.grafico { width: 27mm; }
th:first-child, td:first-child { text-align: left; }
th { background: #eee; font-weight: bold; font-size: 8pt; }
tr { break-inside: avoid; }
svg { display: block; width: 25mm; height: 4mm; }
.nota { color: #444; font-size: 8pt; }
.avviso { font-weight: bold; }
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

std::string Percent(int part, int whole) {
  return std::to_string(whole == 0 ? 0 : (part * 100 + whole / 2) / whole) + "%";
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

std::string Rect(std::size_t x, int y, int height, std::string_view colour) {
  return "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
         "\" width=\"8\" height=\"" + std::to_string(height) + "\" fill=\"" + std::string(colour) + "\"/>";
}

// A pupil's chart: one column per competition, right answers in green below
// the wrong ones in red, as inline SVG. Drawn in units of a 10-wide column
// and 100 high, scaled by the page; room for at least kChartMinimumColumns,
// so that a few competitions show as narrow columns rather than wide blocks.
std::string CompetitionChart(const PupilSummary& pupil) {
  const auto& all = pupil.competitions;
  const std::size_t shown = std::min(all.size(), kChartCompetitions);
  const auto first = all.end() - static_cast<std::ptrdiff_t>(shown);
  int most = 1;
  for (auto it = first; it != all.end(); ++it) most = std::max(most, it->right + it->wrong);
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
                    std::to_string(std::max(shown, kChartMinimumColumns) * 10) +
                    " 100\" preserveAspectRatio=\"none\" role=\"img\"><title>" +
                    HtmlEscaped(Counted(shown, "gara", "gare")) + ": giuste in verde, sbagliate in rosso</title>";
  std::size_t x = 1;
  for (auto it = first; it != all.end(); ++it, x += 10) {
    const int rightHeight = it->right * 100 / most;
    const int wrongHeight = it->wrong * 100 / most;
    if (rightHeight > 0) svg += Rect(x, 100 - rightHeight, rightHeight, "#2e7d32");
    if (wrongHeight > 0) svg += Rect(x, 100 - rightHeight - wrongHeight, wrongHeight, "#c62828");
  }
  return svg + "</svg>";
}

std::string PupilRows(const ClassSummary& summary) {
  std::string rows;
  for (const PupilSummary& pupil : summary.pupils) {
    rows += "<tr>" + Cell(pupil.name.empty() ? std::string("(senza nome)") : pupil.name) +
            Cell(static_cast<long>(pupil.competitions.size())) + Cell(pupil.answers) +
            Cell(Percent(pupil.right, pupil.answers)) + Cell(pupil.bestScore) + Cell(ItalianDate(pupil.lastDay)) +
            Cell(pupil.mistakes.denominatorsAdded) + Cell(pupil.mistakes.notReduced) + Cell(pupil.mistakes.other) +
            "<td>" + CompetitionChart(pupil) + "</td></tr>\n";
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
    page += "<h2>Alunni</h2>\n<table>\n<thead><tr><th class=\"nome\">Alunno</th><th>Gare</th><th>Risposte</th>"
            "<th>Giuste</th><th>Miglior punteggio</th><th class=\"giorno\">Ultimo giorno</th>"
            "<th class=\"errore\">Denominatori sommati</th><th class=\"errore\">Non semplificate</th>"
            "<th class=\"errore\">Altri errori</th><th class=\"grafico\">Gare nel tempo</th></tr></thead>\n"
            "<tbody>\n" +
            PupilRows(summary) + "</tbody>\n</table>\n";
    page += "<p class=\"nota\">Nel grafico ogni colonna è una gara, dalla prima all'ultima (al più le ultime " +
            std::to_string(kChartCompetitions) +
            "): in verde le risposte giuste, sopra in rosso le sbagliate.</p>\n";
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
