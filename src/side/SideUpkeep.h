#pragma once

#include <QDateTime>
#include <QString>

struct UpdateDescriptor;

// The main window's side panels without the page: when the hidden frame and
// the descriptor are due, the advert switches the descriptor sets, and what
// the two advert frames and the "精品推荐" panel should show.
class SideUpkeep
{
public:
    static constexpr int KeepAliveSeconds = 550;
    static constexpr int DescriptorSeconds = 300;

    struct Due
    {
        bool keepAlive = false;
        bool descriptor = false;
    };
    // What the advert frames show: empty, or a frame of this height.
    struct Adverts
    {
        bool product = false;
        int fxarkHeight = 0; // 0: no FXark frame
        QString fxarkAddress;
    };

    // Both loads are due at the first tick, then after their intervals.
    Due tick(const QDateTime &now);
    // A switch once set stays set; a descriptor without it changes nothing.
    void applyDescriptor(const UpdateDescriptor &descriptor);
    // The frames as they should be, given how they are: a frame already
    // shown keeps its height.
    Adverts adverts(const Adverts &shown) const;
    // Whether the "精品推荐" panel holds its page: with `active`, when its
    // tab is the current one; otherwise when `filled`.
    static bool fxAskFilled(bool filled, bool active, bool askTabCurrent);

    bool advertOff() const { return m_advertOff; }
    bool fxarkAdvertOn() const { return m_fxarkAdvertOn; }

private:
    QDateTime m_lastKeepAlive;
    QDateTime m_lastDescriptor;
    bool m_advertOff = false;
    bool m_fxarkAdvertOn = false;
    QString m_fxarkAddress;
};
