#pragma once

#include <QObject>
#include <QUrl>
#include <QVariantList>

#include <functional>
#include <optional>

class XRSharedState;

// Fetches the current market's news feed and keeps its stories for the news
// list. The fetch waits for the whole body while the window goes on painting;
// a load asked for meanwhile runs right after the current one, never inside it.
// A failed load (no answer, an error status, a broken feed) shows the network
// alert and keeps the stories of the last good load.
class XRNewsFeedLoader : public QObject
{
    Q_OBJECT
public:
    // `storiesChanged` redraws the list; it is called at every end of a load.
    // Loads nothing without the shared state to read the market from.
    XRNewsFeedLoader(XRSharedState *appDelegate, std::function<void()> storiesChanged, QObject *parent = nullptr);

    // Loads the feed of the market of the language index now stored.
    void loadNews();

    // Nothing before the first good load.
    const std::optional<QVariantList> &stories() const { return m_stories; }
    bool isLoading() const { return m_loading; }

private:
    // Fetches and parses one feed; false when this loader went away meanwhile.
    bool parseXMLFileAtURL(const QUrl &url);
    void failLoading();

    XRSharedState *m_appDelegate;
    std::function<void()> m_storiesChanged;
    std::optional<QVariantList> m_stories;
    bool m_loading = false;
    bool m_reloadWhenLoaded = false;
};
