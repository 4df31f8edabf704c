// The page's side of the browser host: a canvas for each window the program shows, and the
// mouse and keyboard turned into window messages for the program to read.
'use strict';

function SlantPage(Module) {
  const WM_CLOSE = 0x10;
  const WM_KEYDOWN = 0x100, WM_KEYUP = 0x101, WM_CHAR = 0x102, WM_SYSKEYDOWN = 0x104, WM_SYSKEYUP = 0x105;
  const WM_MOUSEMOVE = 0x200, WM_LBUTTONDOWN = 0x201, WM_LBUTTONUP = 0x202;
  const WM_RBUTTONDOWN = 0x204, WM_RBUTTONUP = 0x205, WM_MBUTTONDOWN = 0x207, WM_MBUTTONUP = 0x208;
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
    canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  // Keys go to the framed window shown last; the layer routes them on to its focus. Their
  // virtual-key codes are the browser's key codes; characters beyond ASCII come as WM_CHAR, the
  // rest the program's TranslateMessage makes from the keys.
  function key(event, down) {
    if (!page.keyWindow || !event.keyCode) return;
    const system = event.altKey && !event.ctrlKey;
    const message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const state = (down ? (event.repeat ? KEY_WAS_DOWN : 0) : KEY_WAS_DOWN | KEY_RELEASED) |
                  (event.altKey ? ALT_HELD : 0);
    page.events.push([page.keyWindow, message, event.keyCode, 1 | state]);
    if (down && event.key.length === 1 && event.key.charCodeAt(0) >= 0x80) {
      page.events.push([page.keyWindow, WM_CHAR, event.key.charCodeAt(0), 1]);
    }
    // Ctrl+V goes on to the browser, whose paste event brings the clipboard's text first.
    if (!(event.ctrlKey && event.keyCode === 86)) event.preventDefault();
  }
  document.addEventListener('keydown', (event) => key(event, true));
  document.addEventListener('keyup', (event) => key(event, false));
  document.addEventListener('paste', (event) => {
    page.clipboard = event.clipboardData.getData('text/plain');
    event.preventDefault();
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
      entry = {frame, ...parts, canvas, context: canvas.getContext('2d'), owner};
      page.windows.set(id, entry);
      (popup && page.windows.get(owner) ? page.windows.get(owner).frame : screen).appendChild(frame);
    }
    if (entry.canvas.width !== width || entry.canvas.height !== height) {
      entry.canvas.width = width;
      entry.canvas.height = height;
    }
    entry.text.textContent = text;
    entry.close.style.display = closeBox ? '' : 'none';
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
