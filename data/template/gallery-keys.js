// The arrow keys follow the page's Previous and Next buttons and Escape its Index button,
// whenever the page shows them as links.
(function () {
    "use strict";
    var buttonOfKey = { ArrowLeft: "nav-prev", ArrowRight: "nav-next", Escape: "nav-index" };

    function typingInto(element) {
        return element && (element.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(element.tagName));
    }

    document.addEventListener("keydown", function (event) {
        var button = buttonOfKey[event.key];
        if (!button || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey || typingInto(event.target)) {
            return;
        }
        var link = document.querySelector("." + button + " a[href]");
        if (link) {
            event.preventDefault();
            window.location.href = link.href;
        }
    });
})();
