// Gives every frame `external.Notificar(text)` before any page script runs.
// The top frame talks to the launcher over the web channel; sub-frames have
// no channel of their own and forward to the top frame.
(function () {
    'use strict';
    var FORWARD_KEY = '__tarvenixNotificar';
    var send;

    if (window === window.top) {
        var pending = [];
        var endpoint = null;
        send = function (text) {
            if (endpoint) endpoint.Notificar(text);
            else pending.push(text);
        };
        var connect = function () {
            if (!(window.qt && window.qt.webChannelTransport)) {
                // The transport can appear a moment after document creation.
                setTimeout(connect, 0);
                return;
            }
            new QWebChannel(window.qt.webChannelTransport, function (channel) {
                endpoint = channel.objects.tarvenixBridge;
                // Calls made while the channel was opening go out first, in order.
                for (var i = 0; i < pending.length; ++i) endpoint.Notificar(pending[i]);
                pending = [];
            });
        };
        connect();
        window.addEventListener('message', function (event) {
            var data = event.data;
            if (data && typeof data === 'object' && typeof data[FORWARD_KEY] === 'string') send(data[FORWARD_KEY]);
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
