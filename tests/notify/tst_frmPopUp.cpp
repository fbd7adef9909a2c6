#include "notify/frmPopUp.h"
#include "support/PageScript.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The popup on its own: nothing waits for its page.
class tst_frmPopUp : public QObject
{
    Q_OBJECT

private:
    static Notification item(const QString &icon, const QString &time, const QString &text, const QString &link = {})
    {
        Notification notification;
        notification.icon = icon;
        notification.lines = {{time, text, {}, link}};
        return notification;
    }

    static QStringList rows(frmPopUp &popup)
    {
        return PageScript::rowTexts(popup.findChild<QWebEngineView *>(), u"popupWin_Table"_s);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs the X server that `make test` starts");
    }

    void itemsBeforeThePageIsReadyShowWhenItIs()
    {
        frmPopUp popup;
        QVERIFY(popup.Busy());
        popup.add(item(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        Notification both = item(u"FX168.gif"_s, u"09:01"_s, u"午"_s);
        both.lines.append({u"09:00"_s, u"早"_s, {}, {}});
        popup.add(both);
        popup.setShowDelay(frmPopUp::UntilClosed);
        popup.Popup();
        QVERIFY(popup.isOpen());
        QTRY_COMPARE_WITH_TIMEOUT(popup.PopUpStatus(), 1, 30000);
        QVERIFY(popup.isVisible());
        QCOMPARE(rows(popup), (QStringList{u"09:01 午"_s, u"09:00 早"_s}));
    }

    // An alert's words are marked where they stand, as text whatever they
    // hold; the rows of an earlier showing do not come back after a close.
    void alertWordsAreMarkedInTheirRowsOnly()
    {
        frmPopUp popup;
        popup.setShowDelay(frmPopUp::UntilClosed);
        popup.add(item(u"FX168.gif"_s, u"09:00"_s, u"欧元<b>走强</b>"_s, u"javascript:window.hit=2"_s));
        Notification alert = item(u"FX678.gif"_s, u"09:01"_s, u"美聯儲宣佈加息, 美聯儲"_s);
        alert.marks = {u"美聯儲"_s, u"<img src=x onerror=window.hit=1>"_s, u"09"_s};
        popup.add(alert);
        popup.Popup();
        QTRY_COMPARE_WITH_TIMEOUT(popup.PopUpStatus(), 1, 30000);
        auto *view = popup.findChild<QWebEngineView *>();
        const QString marked = PageScript::run(view, u"Array.prototype.map.call(document.querySelectorAll('#popupWin_Table mark'),"
                                                      " function (m) { return m.textContent; }).join(',')"_s).toString();
        QCOMPARE(marked, u"09,美聯儲,美聯儲"_s);
        QCOMPARE(PageScript::run(view, u"String(document.querySelectorAll('#popupWin_Table img[src=x]').length + (window.hit || 0))"_s).toString(),
                 u"0"_s);
        QCOMPARE(rows(popup), (QStringList{u"09:01 美聯儲宣佈加息, 美聯儲"_s, u"09:00 欧元<b>走强</b>"_s}));
        // Only a web address makes an item a link.
        QCOMPARE(PageScript::run(view, u"String(document.querySelectorAll('#popupWin_Table [data-link]').length)"_s).toString(), u"0"_s);
        popup.CloseFrm();
        // A reminder: its heading, then its lines with a rule between them, in one row.
        Notification reminder = item(u"warn.gif"_s, {}, u"20:30 美国非农 <b>"_s);
        reminder.heading = u"财经事件提醒"_s;
        reminder.lines.append({{}, u"21:00 欧元区CPI"_s, {}, {}});
        popup.add(reminder);
        popup.Popup();
        QTRY_COMPARE_WITH_TIMEOUT(rows(popup), QStringList{u"财经事件提醒20:30 美国非农 <b>21:00 欧元区CPI"_s}, 30000);
        QCOMPARE(PageScript::run(view, u"String(document.querySelectorAll('#popupWin_Table hr').length)"_s).toString(), u"1"_s);
    }

    void closingBeforeThePageIsReadyIsSafe()
    {
        auto popup = std::make_unique<frmPopUp>();
        popup->add(item(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        popup->Popup();
        popup->CloseFrm();
        QVERIFY(!popup->isOpen());
        QTest::qWait(3000); // the page comes up meanwhile: nothing slides in
        QVERIFY(!popup->isVisible());
        popup.reset(); // and ends before anything of it has come back
        auto second = std::make_unique<frmPopUp>();
        second->add(item(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        second->Popup();
        second.reset();
        QTest::qWait(500);
    }
};

QTEST_MAIN(tst_frmPopUp)
#include "tst_frmPopUp.moc"
