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
