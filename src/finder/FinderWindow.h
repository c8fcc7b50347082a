#pragma once
#include "core/data/Query.h"
#include "core/finder/FinderVariant.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QGroupBox;

namespace data {
class RecordSource;
}

namespace finder {

// The channel and frequency finder of one radio model: frequency to channel (top panel),
// channel and band to frequency (middle), and the built-in 80-channel table (bottom).
class FinderWindow : public QWidget {
    Q_OBJECT
public:
    explicit FinderWindow(const FinderVariant &variant, QWidget *parent = nullptr);

    const FinderVariant &variant() const { return m_variant; }
    data::RecordSource *dataControl() const { return m_source; }

    // The query of the frequency search for one band letter and key.
    static data::Query searchQuery(const QString &table, QChar band, const QString &key);

private:
    // Handlers, named control_event; run only by their controls.
    void cmd_suchen_clicked();     // frequency -> channel
    void cmd_search_clicked();     // channel and band -> frequency
    void txt_kanalsuche_clicked(); // 80-channel table
    void cmd_ende_clicked();

    QGroupBox *buildSearchPanel();
    QGroupBox *buildLookupPanel();
    QGroupBox *buildChannelPanel();

    const FinderVariant &m_variant;
    data::RecordSource *m_source = nullptr;
    QLineEdit *txt_frequenz, *txt_frequenz1, *txt_result;
    QLineEdit *txt_ch, *txt_band, *txt_res;
    QLineEdit *txt_kanal, *kanal, *freq;
};

} // namespace finder
