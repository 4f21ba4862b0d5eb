// Gives every frame `external.Notificar(text)` before any page script runs.
// The top frame talks to the launcher over the web channel; sub-frames have
// no channel of their own and forward to the top frame, which passes on
// only what comes from the service's own sites. The launcher checks every
// call again, with the top frame's own address.
(function () {
    'use strict';
    var FORWARD_KEY = '__tarvenixNotificar';
    var send;

    if (window === window.top) {
        var ownOrigin = window.location.origin;
        var endpoint = null;
        // Calls wait here, in order, until the channel is open.
        var pending = [];

        // Whether `origin` is of one of the trusted sites: its own origin,
        // an exact origin, or a host in a registrable domain.
        var trusted = function (origin) {
            if (origin === ownOrigin && origin !== 'null') return true;
            var match = /^([a-z][a-z0-9+.-]*):\/\/([^\/:]+|\[[0-9a-f:.]+\])(:\d+)?$/.exec(origin);
            if (!match) return false;
            var sites = endpoint.sites || [];
            for (var i = 0; i < sites.length; ++i) {
                var site = sites[i];
                if (site.origin) {
                    if (site.origin === origin) return true;
                } else if (site.scheme === match[1]) {
                    var host = match[2], domain = site.domain;
                    if (host === domain) return true;
                    if (host.length > domain.length && host.slice(-domain.length - 1) === '.' + domain) return true;
                }
            }
            return false;
        };
        var deliver = function (call) {
            if (call.origin === null) endpoint.Notificar(call.text);
            else if (trusted(call.origin)) endpoint.FrameNotificar(call.origin, call.text);
            else endpoint.FrameRefused(call.origin, call.text);
        };
        var queue = function (call) {
            if (endpoint) deliver(call);
            else pending.push(call);
        };
        send = function (text) { queue({ origin: null, text: text }); };

        var connect = function () {
            if (!(window.qt && window.qt.webChannelTransport)) {
                // The transport can appear a moment after document creation.
                setTimeout(connect, 0);
                return;
            }
            new QWebChannel(window.qt.webChannelTransport, function (channel) {
                endpoint = channel.objects.tarvenixBridge;
                // Calls made while the channel was opening go out first, in order.
                for (var i = 0; i < pending.length; ++i) deliver(pending[i]);
                pending = [];
            });
        };
        connect();
        window.addEventListener('message', function (event) {
            var data = event.data;
            if (!data || typeof data !== 'object' || typeof data[FORWARD_KEY] !== 'string') return;
            // The sender is whom the browser names in event.origin; nothing
            // in the message itself can change that.
            queue({ origin: String(event.origin), text: data[FORWARD_KEY] });
        });
    } else {
        send = function (text) {
            var message = {};
            message[FORWARD_KEY] = text;
            try { window.top.postMessage(message, '*'); } catch (e) { }
        };
    }

    var external = {};
    external.Notificar = function (a) {
        try {
            if (typeof a === 'string') send(a);
        } catch (e) { }
    };
    window.external = external;
})();
