// The arrow keys and a sideways swipe follow the page's Previous and Next buttons, and Escape
// leads back to the thumbnails, whenever the page shows them as links. Without scripts the
// links themselves still work.
(function () {
    "use strict";
    var targets = {
        previous: [".nav-prev a[href]"],
        next: [".nav-next a[href]"],
        // The index page holding this picture, else the first one.
        up: ["a.back[href]:not([href=''])", ".nav-index a[href]"]
    };
    var targetOfKey = { ArrowLeft: "previous", ArrowRight: "next", Escape: "up" };
    // A swipe must travel this far, and mostly sideways, so that scrolling is no swipe.
    var swipeDistance = 60;

    function linkTo(target) {
        var selectors = targets[target];
        for (var i = 0; i < selectors.length; ++i) {
            var link = document.querySelector(selectors[i]);
            if (link) {
                return link;
            }
        }
        return null;
    }

    function follow(target) {
        var link = linkTo(target);
        if (link) {
            window.location.href = link.href;
        }
        return link !== null;
    }

    function typingInto(element) {
        return element && (element.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(element.tagName));
    }

    document.addEventListener("keydown", function (event) {
        var target = targetOfKey[event.key];
        if (!target || event.altKey || event.ctrlKey || event.metaKey || event.shiftKey || typingInto(event.target)) {
            return;
        }
        if (follow(target)) {
            event.preventDefault();
        }
    });

    // A zoomed-in page is panned, not swiped.
    function zoomedIn() {
        return window.visualViewport && window.visualViewport.scale > 1.01;
    }

    var start = null;
    document.addEventListener("touchstart", function (event) {
        start = event.touches.length === 1 && !zoomedIn() ? { x: event.touches[0].clientX, y: event.touches[0].clientY } : null;
    }, { passive: true });
    document.addEventListener("touchend", function (event) {
        if (!start || event.changedTouches.length !== 1) {
            return;
        }
        var dx = event.changedTouches[0].clientX - start.x;
        var dy = event.changedTouches[0].clientY - start.y;
        start = null;
        if (Math.abs(dx) >= swipeDistance && Math.abs(dx) > 2 * Math.abs(dy)) {
            // Swiping to the left brings the next picture in from the right.
            follow(dx < 0 ? "next" : "previous");
        }
    }, { passive: true });
})();
