#pragma once
// What closed pages still do before the process ends. The close sequence
// clicks the page's confirmation button after the browser has been closed;
// the requests that click starts must leave the process before it ends, but
// a stuck page must not keep it alive.

#include <chrono>

class QWebEngineProfile;

namespace engine {

// Scripts sent to a closed page, and their end.
void ClosedPageScriptSent();
void ClosedPageScriptDone();

// Notes when any page of the profile starts a request.
void WatchRequests(QWebEngineProfile& profile);

// Keeps the window thread's events going until the scripts sent to closed
// pages have run and the network has been quiet for a moment, or until
// `limit` has passed.
void LetClosedPagesFinish(std::chrono::milliseconds limit);

}  // namespace engine
