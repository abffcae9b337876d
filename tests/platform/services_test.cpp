#include <gtest/gtest.h>

#include <QGuiApplication>
#include <climits>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "platform/guard.h"
#include "platform/library.h"
#include "platform/registry.h"

using namespace platform;

namespace {

TEST(Geometry, SavedAndRestoredTheSameWay) {
  RegistryStore reg;
  QWidget a;
  a.resize(400, 300);
  a.move(30, 40);
  a.show();
  saveGeometry(reg, a, "Glowne");
  const std::string key = "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\Glowne\\";
  EXPECT_EQ(reg.readInteger(RegRoot::CurrentUser, key, "Width"), 400);
  EXPECT_EQ(reg.readInteger(RegRoot::CurrentUser, key, "Height"), 300);
  QWidget b;
  restoreGeometry(reg, b, "Glowne");
  b.show();
  EXPECT_EQ(b.size(), a.size());
  EXPECT_EQ(b.pos(), a.pos());
}

TEST(Geometry, MissingKeyOrValuesLeaveTheDesignAndOffScreenIsPulledBack) {
  RegistryStore reg;
  QWidget w;
  w.resize(200, 100);
  restoreGeometry(reg, w, "Edycja");
  EXPECT_EQ(w.size(), QSize(200, 100));
  const std::string key = "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\Edycja\\";
  reg.writeInteger(RegRoot::CurrentUser, key, "Width", 321);
  restoreGeometry(reg, w, "Edycja");
  EXPECT_EQ(w.size(), QSize(321, 100)) << "only the values that exist change the window";
  reg.writeInteger(RegRoot::CurrentUser, key, "Left", 90000);
  reg.writeInteger(RegRoot::CurrentUser, key, "Top", -90000);
  restoreGeometry(reg, w, "Edycja");
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(w.pos())) << "a window of an unplugged monitor comes back on screen";
}

TEST(Geometry, StoredValuesNearTheIntegerLimitsAreClamped) {
  RegistryStore reg;
  const std::string key = "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\Weryf\\";
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const std::pair<int, int> places[] = {{INT_MAX, INT_MAX - 1}, {INT_MIN, INT_MIN + 1}, {INT_MAX, INT_MIN}};
  for (auto [left, top] : places) {
    reg.writeInteger(RegRoot::CurrentUser, key, "Left", left);
    reg.writeInteger(RegRoot::CurrentUser, key, "Top", top);
    reg.writeInteger(RegRoot::CurrentUser, key, "Width", INT_MAX);
    reg.writeInteger(RegRoot::CurrentUser, key, "Height", INT_MIN);
    QWidget w;
    w.setMaximumSize(1000, 800);
    restoreGeometry(reg, w, "Weryf");
    EXPECT_TRUE(screen.contains(w.pos())) << left << ", " << top;
    EXPECT_EQ(w.width(), 1000) << "bounded by the window's maximum";
    EXPECT_GE(w.height(), 0);
    EXPECT_LE(w.height(), 800);
  }
}

// A window that this run never showed is written back as it was created or restored.
TEST(Geometry, AWindowNeverShownKeepsItsStoredPlace) {
  RegistryStore reg;
  const std::string key = "\\SOFTWARE\\Tarvo\\ZELT\\OKNA\\Weryf\\";
  QWidget fresh;
  fresh.resize(200, 100);
  saveGeometry(reg, fresh, "Weryf");
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect placed(QPoint(*reg.readInteger(RegRoot::CurrentUser, key, "Left"), *reg.readInteger(RegRoot::CurrentUser, key, "Top")),
                     QSize(*reg.readInteger(RegRoot::CurrentUser, key, "Width"), *reg.readInteger(RegRoot::CurrentUser, key, "Height")));
  EXPECT_EQ(placed.size(), QSize(200, 100));
  EXPECT_NE(placed.topLeft(), QPoint(0, 0)) << "not pinned to the screen's corner";
  EXPECT_LE((placed.center() - screen.center()).manhattanLength(), 2) << "centred, as the platform shows it first";

  reg.writeInteger(RegRoot::CurrentUser, key, "Left", 100);
  reg.writeInteger(RegRoot::CurrentUser, key, "Top", 120);
  reg.writeInteger(RegRoot::CurrentUser, key, "Width", 300);
  reg.writeInteger(RegRoot::CurrentUser, key, "Height", 200);
  QWidget restored;
  restoreGeometry(reg, restored, "Weryf");
  RegistryStore out;
  saveGeometry(out, restored, "Weryf");
  EXPECT_EQ(out.readInteger(RegRoot::CurrentUser, key, "Left"), 100);
  EXPECT_EQ(out.readInteger(RegRoot::CurrentUser, key, "Top"), 120);
  EXPECT_EQ(out.readInteger(RegRoot::CurrentUser, key, "Width"), 300);
  EXPECT_EQ(out.readInteger(RegRoot::CurrentUser, key, "Height"), 200);
}

TEST(Dates, DayCountsFrom1899) {
  EXPECT_EQ(dateToDays(QDate(2007, 3, 5)), 39146.0);
  EXPECT_EQ(dateToDays(QDate(1899, 12, 30)), 0.0);
  EXPECT_EQ(daysToDate(39146.0), QDate(2007, 3, 5));
  EXPECT_EQ(daysToDate(39146.75), QDate(2007, 3, 5)) << "the time of day is not a day";
  EXPECT_FALSE(daysToDate(std::nan("")).has_value());
  EXPECT_FALSE(daysToDate(1e300).has_value());
  EXPECT_FALSE(daysToDate(-1e9).has_value());
}

// The whole part of a day count is the day, cut toward zero as the platform's dates are.
TEST(Dates, PartsOfADayAreCutTowardZero) {
  const std::pair<double, QDate> cases[] = {
      {-0.5, QDate(1899, 12, 30)},     {-1.25, QDate(1899, 12, 29)},  {-1.0, QDate(1899, 12, 29)},
      {0.999, QDate(1899, 12, 30)},    {2958465.0, QDate(9999, 12, 31)}, {2958465.9, QDate(9999, 12, 31)},
      {-693593.0, QDate(1, 1, 1)},     {-693593.9, QDate(1, 1, 1)},
  };
  for (auto [days, date] : cases) EXPECT_EQ(daysToDate(days), date) << days;
  EXPECT_FALSE(daysToDate(2958466.0).has_value());
  EXPECT_FALSE(daysToDate(-693594.0).has_value());
}

// The calendar worked out without QDate gives QDate's day for every day count of years 1..9999
// (every one around the era and century leap rules, a sample elsewhere).
TEST(Dates, TheCalendarWithoutQDateIsQDates) {
  const QDate epoch(1899, 12, 30);
  auto same = [&](qint64 day) {
    const auto c = daysToCivil(static_cast<double>(day));
    const QDate q = epoch.addDays(day);
    ASSERT_TRUE(c.has_value()) << day;
    ASSERT_EQ(QDate(c->year, c->month, c->day), q) << day << " gives " << c->year << "-" << c->month << "-" << c->day;
  };
  for (qint64 day = -693593; day <= 2958465; day += 97) same(day);
  for (const QDate around : {QDate(1, 1, 1), QDate(1600, 2, 28), QDate(1700, 2, 28), QDate(1899, 12, 30),
                             QDate(1900, 2, 28), QDate(2000, 2, 28), QDate(2100, 2, 28), QDate(9999, 12, 31)})
    for (qint64 d = -400; d <= 400; ++d) {
      const qint64 day = epoch.daysTo(around) + d;
      if (day >= -693593 && day <= 2958465) same(day);
    }
  EXPECT_FALSE(daysToCivil(2958466.0).has_value());
  EXPECT_FALSE(daysToCivil(-693594.0).has_value());
  EXPECT_FALSE(daysToCivil(std::nan("")).has_value());
}

TEST(Guard, AnExceptionInAHandlerBecomesAMessage) {
  ScriptedDialogs d;
  d.expectMessage(IdOk, QString::fromUtf8("Błąd zapisu"));
  QPushButton b;
  bool after = false;
  QObject::connect(&b, &QPushButton::clicked, [&] {
    guarded(d, [] { throw std::runtime_error("Błąd zapisu pliku x"); });
    after = true;
  });
  b.click();
  EXPECT_TRUE(after);
  EXPECT_TRUE(d.scriptDone());
}

TEST(Library, LoadsOnlyFromTheProgramFolder) {
  QTemporaryDir dir;
  Library lib("nieistniejaca", dir.path());
  EXPECT_FALSE(lib.load());
  EXPECT_EQ(lib.resolve("x"), nullptr);
  EXPECT_TRUE(lib.fileName().startsWith(dir.path())) << "never looked up in the working folder";
}

}  // namespace
