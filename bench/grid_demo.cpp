// Fills two grids as the program's windows do (the register list and the parties list) and
// writes a picture of them: grid_demo [file.png]
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <cstdio>

#include "gridfill.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/grid_demo.png");
  using namespace kgrid;

  // The register list: aqua active row and column, sorted by its fourth column.
  TKStringGrid lista;
  lista.SetActiveColColor(clAqua);
  lista.SetActiveRowColor(clAqua);
  lista.SetActiveRowFontColor(clBlack);
  lista.SetScrollBars(ssVertical);
  gridfill::fill(lista, 40, 8);
  lista.Columns().Items(0).SetWidth(30);
  lista.SetCells(5, 2, cp1250::fromUtf8("ul. Długa 5\r\n00-950 Warszawa"));
  lista.VisibleColumn(3).SetSortOrder(csAsc);
  lista.SetDataRow(3);
  lista.SetDataCol(2);
  lista.resize(760, 260);
  lista.show();

  // The parties list: whole-row selection, a hidden record-number column of width 0.
  TKStringGrid podmiot;
  podmiot.SetOptions(podmiot.Options() | goRowSelect);
  podmiot.SetScrollBars(ssVertical);
  const char* columns[][2] = {{"NIP", "poNIP"}, {"Nazwa/Nazwisko", "poNz"}, {"Adres", "poAd"}, {"Nr.Rec", "NrRec"}};
  const int widths[] = {70, 200, 200, 0};
  for (int c = 0; c < 4; ++c) {
    TKGridColumn& col = podmiot.Columns().Add();
    col.SetCaption(cp1250::fromUtf8(columns[c][0]));
    col.SetName(columns[c][1]);
    col.SetWidth(widths[c]);
  }
  const char* parties[][3] = {{"5260001246", "Przedsiębiorstwo Handlowe \"Żuraw\" Sp. z o.o.", "Łódź, ul. Piotrkowska 12"},
                              {"7740001454", "Kowalski, Jan", "Kraków, Rynek Główny 1"},
                              {"1130003546", "Ślusarczyk Anna", "Gdańsk, ul. Długa 8"},
                              {"9510006537", "Bank Spółdzielczy", "Zamość, ul. Grodzka 3"}};
  for (int r = 0; r < 4; ++r) {
    podmiot.AddRow();
    for (int c = 0; c < 3; ++c) podmiot.SetCells(c, r, cp1250::fromUtf8(parties[r][c]));
    podmiot.SetCells(3, r, std::to_string(r));
  }
  podmiot.Columns().FindByName("poNz")->SetSortOrder(csAsc);
  podmiot.SetDataRow(1);
  podmiot.SetCellFlags(0, 1, cfButton);
  podmiot.resize(560, 140);
  podmiot.show();
  QApplication::processEvents();

  const QPixmap a = lista.grab(), b = podmiot.grab();
  QPixmap out(std::max(a.width(), b.width()), a.height() + b.height() + 10);
  out.fill(Qt::darkGray);
  QPainter p(&out);
  p.drawPixmap(0, 0, a);
  p.drawPixmap(0, a.height() + 10, b);
  p.end();
  if (!out.save(file)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return 1;
  }
  std::printf("%s\n", qPrintable(file));
  return 0;
}
