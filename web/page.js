// The page's side of the browser host: a canvas for each window the program shows, and the
// mouse and keyboard turned into window messages for the program to read.
'use strict';

function SlantPage(Module) {
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
  const page = {events: [], clipboard: '', windows: new Map(), keyWindow: 0};
  let held = 0;

  const point = (event) => (event.offsetX & 0xFFFF) | ((event.offsetY & 0xFFFF) << 16);
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

  // Keys go to the framed window shown last; the layer routes them on to its focus. Their
  // virtual-key codes are the browser's key codes; characters beyond ASCII come as WM_CHAR, the
  // rest the program's TranslateMessage makes from the keys.
  function key(event, down) {
    if (!page.keyWindow || !event.keyCode) return;
    // F10 is a system key, for the menu, as keys with Alt held are.
    const system = (event.altKey && !event.ctrlKey) || event.keyCode === VK_F10;
    const message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const state = (down ? (event.repeat ? KEY_WAS_DOWN : 0) : KEY_WAS_DOWN | KEY_RELEASED) |
                  (event.altKey ? ALT_HELD : 0);
    page.events.push([page.keyWindow, message, event.keyCode, 1 | state]);
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

  page.place = (id, popup, owner, x, y, width, height, shown, caption) => {
    let entry = page.windows.get(id);
    if (!entry) {
      const frame = document.createElement('div');
      frame.className = popup ? 'popup' : 'window';
      const title = document.createElement('div');
      title.className = 'caption';
      const canvas = document.createElement('canvas');
      if (!popup) frame.appendChild(title);
      frame.appendChild(canvas);
      listen(id, canvas);
      entry = {frame, title, canvas, context: canvas.getContext('2d'), owner};
      page.windows.set(id, entry);
      (popup && page.windows.get(owner) ? page.windows.get(owner).frame : screen).appendChild(frame);
    }
    if (entry.canvas.width !== width || entry.canvas.height !== height) {
      entry.canvas.width = width;
      entry.canvas.height = height;
    }
    entry.title.textContent = caption;
    if (popup) {
      // Inside the owner's frame, placed from the top left of its client area.
      const ownerCanvas = page.windows.get(owner) && page.windows.get(owner).canvas;
      const top = ownerCanvas ? ownerCanvas.offsetTop : 0;
      entry.frame.style.left = x + 'px';
      entry.frame.style.top = top + y + 'px';
    } else if (shown) {
      page.keyWindow = id;
    }
    entry.frame.style.display = shown ? '' : 'none';
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
    const image = entry.context.createImageData(width, height);
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
    entry.context.putImageData(image, x, y);
  };

  return page;
}
