#include "notify/frmPopUp.h"
#include "support/PageScript.h"
#include "worker/PopupSnippet.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

// The popup on its own: nothing waits for its page.
class tst_frmPopUp : public QObject
{
    Q_OBJECT

private:
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
        popup.AddHtml(PopupSnippet::plain(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        popup.AddHtml(PopupSnippet::plain(u"FX678.gif"_s, u"09:01"_s, u"午"_s) + u'~'
                      + PopupSnippet::plain(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        popup.setShowDelay(-1);
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
        popup.setShowDelay(-1);
        popup.AddHtml(PopupSnippet::plain(u"FX168.gif"_s, u"09:00"_s, u"欧元<b>走强</b>"_s));
        popup.AddHtml(PopupSnippet::plain(u"FX678.gif"_s, u"09:01"_s, u"美聯儲宣佈加息, 美聯儲"_s),
                      {u"美聯儲"_s, u"<img src=x onerror=window.hit=1>"_s, u"09"_s});
        popup.Popup();
        QTRY_COMPARE_WITH_TIMEOUT(popup.PopUpStatus(), 1, 30000);
        auto *view = popup.findChild<QWebEngineView *>();
        const QString marked = PageScript::run(view, u"Array.prototype.map.call(document.querySelectorAll('#popupWin_Table mark'),"
                                                      " function (m) { return m.textContent; }).join(',')"_s).toString();
        QCOMPARE(marked, u"09,美聯儲,美聯儲"_s);
        QCOMPARE(PageScript::run(view, u"String(document.querySelectorAll('#popupWin_Table img[src=x]').length + (window.hit || 0))"_s).toString(),
                 u"0"_s);
        QCOMPARE(rows(popup), (QStringList{u"09:01 美聯儲宣佈加息, 美聯儲"_s, u"09:00 欧元<b>走强</b>"_s}));
        popup.CloseFrm();
        popup.AddHtml(PopupSnippet::plain(u"FX168.gif"_s, u"09:05"_s, u"日元"_s));
        popup.Popup();
        QTRY_COMPARE_WITH_TIMEOUT(rows(popup), QStringList{u"09:05 日元"_s}, 30000);
    }

    void closingBeforeThePageIsReadyIsSafe()
    {
        auto popup = std::make_unique<frmPopUp>();
        popup->AddHtml(PopupSnippet::plain(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        popup->Popup();
        popup->CloseFrm();
        QVERIFY(!popup->isOpen());
        QTest::qWait(3000); // the page comes up meanwhile: nothing slides in
        QVERIFY(!popup->isVisible());
        popup.reset(); // and ends before anything of it has come back
        auto second = std::make_unique<frmPopUp>();
        second->AddHtml(PopupSnippet::plain(u"FX168.gif"_s, u"09:00"_s, u"早"_s));
        second->Popup();
        second.reset();
        QTest::qWait(500);
    }
};

QTEST_MAIN(tst_frmPopUp)
#include "tst_frmPopUp.moc"
