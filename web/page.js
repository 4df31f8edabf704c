// The page's side of the browser host: a canvas for each window the program shows, and the
// mouse and keyboard turned into window messages for the program to read.
'use strict';

function SlantPage(Module) {
  const WM_CLOSE = 0x10;
  const WM_KEYDOWN = 0x100, WM_KEYUP = 0x101, WM_CHAR = 0x102, WM_SYSKEYDOWN = 0x104, WM_SYSKEYUP = 0x105;
  const WM_MOUSEMOVE = 0x200, WM_LBUTTONDOWN = 0x201, WM_LBUTTONUP = 0x202;
  const WM_RBUTTONDOWN = 0x204, WM_RBUTTONUP = 0x205, WM_MBUTTONDOWN = 0x207, WM_MBUTTONUP = 0x208;
  const WM_MOUSEWHEEL = 0x20A, WM_MOUSEHWHEEL = 0x20E, WHEEL_DELTA = 120, VK_F10 = 0x79, VK_APPS = 0x5D;
  const MK_LBUTTON = 1, MK_RBUTTON = 2, MK_SHIFT = 4, MK_CONTROL = 8, MK_MBUTTON = 0x10;
  const KEY_WAS_DOWN = 1 << 30, KEY_RELEASED = 1 << 31, ALT_HELD = 0x2000 << 16;
  // Browser button numbers: left, middle, right.
  const BUTTONS = [[WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON], [WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON],
                   [WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON]];

  const screen = document.getElementById('screen');
  const page = {events: [], clipboard: '', windows: new Map(), keyWindow: 0, scale: 1, onOpen: null};
  let held = 0;

  // Each of the program's pixels is shown as a whole square of device pixels: the largest whole
  // number of them that a CSS pixel holds, at least one. At a ratio of 1.5 that is 1, and the
  // windows look smaller than at 1 or 2, but sharp.
  const wholeScale = () => Math.max(1, Math.floor(window.devicePixelRatio || 1));
  const cssPixels = (pixels) => (pixels * page.scale / (window.devicePixelRatio || 1)) + 'px';

  // A point of the canvas, in the program's pixels.
  const point = (event) => {
    const toProgram = (window.devicePixelRatio || 1) / page.scale;
    const x = Math.floor(event.offsetX * toProgram), y = Math.floor(event.offsetY * toProgram);
    return (x & 0xFFFF) | ((y & 0xFFFF) << 16);
  };
  const mouseKeys = (event) => held | (event.shiftKey ? MK_SHIFT : 0) | (event.ctrlKey ? MK_CONTROL : 0);

  function listen(id, canvas) {
    canvas.addEventListener('pointerdown', (event) => {
      const button = BUTTONS[event.button];
      if (!button) return;
      canvas.setPointerCapture(event.pointerId);
      held |= button[2];
      page.events.push([id, button[0], mouseKeys(event), point(event)]);
      event.preventDefault();
    });
    canvas.addEventListener('pointerup', (event) => {
      const button = BUTTONS[event.button];
      if (!button) return;
      held &= ~button[2];
      page.events.push([id, button[1], mouseKeys(event), point(event)]);
      event.preventDefault();
    });
    canvas.addEventListener('pointermove', (event) => {
      page.events.push([id, WM_MOUSEMOVE, mouseKeys(event), point(event)]);
    });
    // Over a window the browser's own context menu, page scrolling and middle-button scrolling
    // give way to the program's; elsewhere on the page they work as usual.
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
    canvas.addEventListener('mousedown', (event) => {
      if (event.button === 1) event.preventDefault();
    });
    canvas.addEventListener('wheel', (event) => {
      const keys = mouseKeys(event);
      for (const [message, delta] of [[WM_MOUSEWHEEL, -event.deltaY], [WM_MOUSEHWHEEL, event.deltaX]]) {
        const amount = wheelAmount(delta, event.deltaMode);
        if (amount !== 0) page.events.push([id, message, keys | ((amount & 0xFFFF) << 16), point(event)]);
      }
      event.preventDefault();
    }, {passive: false});
  }

  // A wheel's turn in WHEEL_DELTA a notch, as the platform counts it (positive away from the user
  // and to the right), from the browser's pixels, lines (three a notch) or pages.
  function wheelAmount(delta, mode) {
    const perUnit = [WHEEL_DELTA / 100, WHEEL_DELTA / 3, WHEEL_DELTA][mode] || 0;
    return Math.max(-32768, Math.min(32767, Math.round(delta * perUnit)));
  }

  // A key pressed or released, as the keyboard gives it to the framed window shown last; the layer
  // routes it on to its focus.
  const pushKey = (keyCode, down, repeat, alt) => {
    // F10 is a system key, for the menu, as keys with Alt held are.
    const system = (alt.alt && !alt.ctrl) || keyCode === VK_F10;
    const message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const state = (down ? (repeat ? KEY_WAS_DOWN : 0) : KEY_WAS_DOWN | KEY_RELEASED) | (alt.alt ? ALT_HELD : 0);
    page.events.push([page.keyWindow, message, keyCode, 1 | state]);
  };

  // Their virtual-key codes are the browser's key codes; characters beyond ASCII come as WM_CHAR,
  // the rest the program's TranslateMessage makes from the keys.
  function key(event, down) {
    if (!page.keyWindow || !event.keyCode) return;
    pushKey(event.keyCode, down, event.repeat, {alt: event.altKey, ctrl: event.ctrlKey});
    if (down && event.key.length === 1 && event.key.charCodeAt(0) >= 0x80) {
      page.events.push([page.keyWindow, WM_CHAR, event.key.charCodeAt(0), 1]);
    }
    // Ctrl+V goes on to the browser, whose paste event brings the clipboard's text first.
    if (!(event.ctrlKey && event.keyCode === 86)) event.preventDefault();
    // The Menu key and Shift+F10 ask the program for its context menu, not the browser.
    if (event.keyCode === VK_APPS || (event.keyCode === VK_F10 && event.shiftKey)) page.menuKeyAt = event.timeStamp;
  }
  document.addEventListener('contextmenu', (event) => {
    if (page.menuKeyAt !== undefined && event.timeStamp - page.menuKeyAt < 1000) event.preventDefault();
  });
  document.addEventListener('keydown', (event) => key(event, true));
  document.addEventListener('keyup', (event) => key(event, false));
  document.addEventListener('paste', (event) => {
    page.clipboard = event.clipboardData.getData('text/plain');
    event.preventDefault();
  });

  // What a person's hands give, for the page's own use (a link's settings): a left click at a
  // point of the key window's client area, and keys pressed and released, Ctrl held for some.
  page.input = {
    click: (x, y) => {
      const at = (x & 0xFFFF) | ((y & 0xFFFF) << 16);
      page.events.push([page.keyWindow, WM_MOUSEMOVE, 0, at], [page.keyWindow, WM_LBUTTONDOWN, MK_LBUTTON, at],
                       [page.keyWindow, WM_LBUTTONUP, 0, at]);
    },
    press: (keyCode, withControl = false) => {
      const VK_CONTROL = 0x11, plain = {alt: false, ctrl: withControl};
      if (withControl) pushKey(VK_CONTROL, true, false, plain);
      pushKey(keyCode, true, false, plain);
      pushKey(keyCode, false, false, plain);
      if (withControl) pushKey(VK_CONTROL, false, false, plain);
    },
  };

  // The canvas holds the window's pixels at the page's scale. The program's own pixels are kept in
  // a canvas of their size beside it; at a scale above 1 they are drawn from there enlarged with no
  // smoothing, and drawn again when the scale changes.
  function size(entry, width, height) {
    const canvas = entry.canvas;
    entry.width = width;
    entry.height = height;
    canvas.width = width * page.scale;
    canvas.height = height * page.scale;
    canvas.dataset.scale = page.scale;
    canvas.style.width = cssPixels(width);
    canvas.style.height = cssPixels(height);
    if (entry.pixels.width !== width || entry.pixels.height !== height) {
      const kept = entry.pixels.width ? entry.pixelsContext.getImageData(0, 0, entry.pixels.width, entry.pixels.height) : null;
      entry.pixels.width = width;
      entry.pixels.height = height;
      if (kept) entry.pixelsContext.putImageData(kept, 0, 0);
    }
  }

  function show(entry, x, y, width, height) {
    const scale = page.scale;
    entry.context.imageSmoothingEnabled = false;
    entry.context.drawImage(entry.pixels, x, y, width, height, x * scale, y * scale, width * scale, height * scale);
  }

  function placePopup(entry) {
    // Inside the owner's frame, placed from the top left of its client area.
    const ownerCanvas = page.windows.get(entry.owner) && page.windows.get(entry.owner).canvas;
    const top = ownerCanvas ? ownerCanvas.offsetTop : 0;
    entry.frame.style.left = cssPixels(entry.x);
    entry.frame.style.top = `calc(${top}px + ${cssPixels(entry.y)})`;
  }

  // The page centres a framed window, which may put it between pixels; it is moved by less than a
  // few pixels to the nearest place where its canvas starts on a whole CSS and device pixel.
  function snap(entry) {
    const ratio = window.devicePixelRatio || 1;
    const whole = (value) => Math.abs(value - Math.round(value)) < 1e-6;
    const nudge = (from) => {
      let to = Math.round(from);
      for (let step = 0; step < 8 && !whole(to * ratio); ++step) ++to;
      return to - from;
    };
    entry.frame.style.left = entry.frame.style.top = '0px';
    const box = entry.canvas.getBoundingClientRect();
    entry.frame.style.left = nudge(box.left + scrollX) + 'px';
    entry.frame.style.top = nudge(box.top + scrollY) + 'px';
  }
  window.addEventListener('resize', () => {
    for (const entry of page.windows.values()) if (!entry.popup) snap(entry);
  });

  // A caption: the window's text, and the close button of a window with a system menu, which asks
  // the window to close as a desktop's would.
  function caption(id) {
    const title = document.createElement('div');
    title.className = 'caption';
    const text = document.createElement('span');
    const close = document.createElement('button');
    close.className = 'close';
    close.title = 'Close';
    close.textContent = '\u2715';
    close.addEventListener('click', () => page.events.push([id, WM_CLOSE, 0, 0]));
    title.append(text, close);
    return {title, text, close};
  }

  page.place = (id, popup, owner, x, y, width, height, shown, text, closeBox) => {
    let entry = page.windows.get(id);
    if (!entry) {
      const frame = document.createElement('div');
      frame.className = popup ? 'popup' : 'window';
      const parts = caption(id);
      const canvas = document.createElement('canvas');
      if (!popup) frame.appendChild(parts.title);
      frame.appendChild(canvas);
      listen(id, canvas);
      const pixels = document.createElement('canvas');
      pixels.width = pixels.height = 0;
      entry = {frame, ...parts, canvas, context: canvas.getContext('2d'), pixels, pixelsContext: pixels.getContext('2d'),
               owner, popup, painted: false};
      page.windows.set(id, entry);
      (popup && page.windows.get(owner) ? page.windows.get(owner).frame : screen).appendChild(frame);
    }
    if (entry.width !== width || entry.height !== height) size(entry, width, height);
    entry.text.textContent = text;
    entry.close.style.display = closeBox ? '' : 'none';
    Object.assign(entry, {x, y});
    if (popup) {
      placePopup(entry);
    } else if (shown) {
      page.keyWindow = id;
    }
    entry.frame.style.display = shown ? '' : 'none';
    if (!popup && shown) snap(entry);
  };

  page.forget = (id) => {
    const entry = page.windows.get(id);
    if (entry) entry.frame.remove();
    page.windows.delete(id);
    if (page.keyWindow === id) page.keyWindow = 0;
  };

  page.paint = (id, heap, first, stride, x, y, width, height) => {
    const entry = page.windows.get(id);
    if (!entry || width <= 0 || height <= 0) return;
    const image = entry.pixelsContext.createImageData(width, height);
    const bytes = image.data;
    for (let row = 0; row < height; ++row) {
      const from = first + row * stride;
      let to = row * width * 4;
      for (let column = 0; column < width; ++column, to += 4) {
        const pixel = heap[from + column];
        bytes[to] = (pixel >> 16) & 0xFF;
        bytes[to + 1] = (pixel >> 8) & 0xFF;
        bytes[to + 2] = pixel & 0xFF;
        bytes[to + 3] = 0xFF;
      }
    }
    entry.pixelsContext.putImageData(image, x, y);
    if (page.scale === 1) {
      entry.context.putImageData(image, x, y);
    } else {
      show(entry, x, y, width, height);
    }
    if (!entry.popup && !entry.painted) {
      entry.painted = true;
      // The dialog is open once its first frame is drawn; the page acts on it when the program
      // next waits. The frame that shows it is marked for whoever measures the page's start.
      requestAnimationFrame(() => performance.mark('first-frame'));
      if (page.onOpen) setTimeout(page.onOpen, 0);
    }
  };

  // The screen's ratio changes as the window moves to another screen or the page is zoomed.
  function watchRatio() {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
    query.addEventListener('change', () => {
      page.scale = wholeScale();
      for (const entry of page.windows.values()) {
        size(entry, entry.width, entry.height);
        if (entry.popup) placePopup(entry);
        show(entry, 0, 0, entry.width, entry.height);
        if (!entry.popup) snap(entry);
      }
      watchRatio();
    }, {once: true});
  }
  page.scale = wholeScale();
  watchRatio();

  // The controls of the window the program shows, read through its public API (web/dialog_view.cpp):
  // [{id, class, text, state, left, top, right, bottom}], or null.
  page.describe = () => {
    const json = Module._SlantDescribeDialog();
    return json ? JSON.parse(Module.UTF8ToString(json)).controls : null;
  };

  return page;
}
