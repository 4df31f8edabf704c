// A link to any setting: the address's fragment names the settings, e.g.
//   #e=450&o=2250&mode=advanced&align=top&couple=off&animate=e
// and once the dialog is open the page sets the controls as a person would, with clicks and keys
// through the page's own input. "Link to this view" reads the controls back and copies the
// address of what is shown now. A key or value the page does not know is left out, and a line
// on the page says which.
'use strict';

const SlantLink = (() => {
  // The dialog's controls (dlgs.h).
  const EDT1 = 0x480, EDT2 = 0x481, CHX1 = 0x410, CHX3 = 0x412, CHX4 = 0x413, CHX5 = 0x414, CMB1 = 0x470;
  const VK_RETURN = 0x0D, VK_HOME = 0x24, VK_DOWN = 0x28, VK_A = 0x41, VK_OEM_MINUS = 0xBD;
  const ALIGNMENTS = ['baseline', 'top', 'bottom']; // the alignment list's rows, in order
  const START = {e: 0, o: 0, mode: 'compatible', align: 'baseline', couple: 'on', animate: ''};
  const ANGLE = /^-?[0-9]{1,5}$/;
  const KEYS = {
    e: (value) => ANGLE.test(value) ? Number(value) : undefined,
    o: (value) => ANGLE.test(value) ? Number(value) : undefined,
    mode: (value) => ['compatible', 'advanced'].includes(value) ? value : undefined,
    align: (value) => ALIGNMENTS.includes(value) ? value : undefined,
    couple: (value) => ['on', 'off'].includes(value) ? value : undefined,
    animate: (value) => ['e', 'o'].includes(value) ? value : undefined,
  };

  // The settings a fragment names, and what in it was left out, each with its reason.
  function read(fragment) {
    const settings = {}, ignored = [];
    for (const part of fragment.replace(/^#/, '').split('&').filter((item) => item !== '')) {
      const split = part.indexOf('=');
      const key = decodeURIComponent(split < 0 ? part : part.slice(0, split));
      const raw = split < 0 ? '' : decodeURIComponent(part.slice(split + 1));
      const value = Object.hasOwn(KEYS, key) ? KEYS[key](raw) : undefined;
      if (!Object.hasOwn(KEYS, key)) {
        ignored.push(`${part} (unknown)`);
      } else if (value === undefined) {
        ignored.push(`${part} (not a value ${key} takes)`);
      } else if (Object.hasOwn(settings, key)) {
        ignored.push(`${part} (${key} given before)`);
      } else {
        settings[key] = value;
      }
    }
    // "==" keeps both angles equal: the orientation would follow the escapement.
    const coupled = (settings.couple || START.couple) === 'on';
    if (coupled && settings.e !== undefined && settings.o !== undefined && settings.e !== settings.o) {
      ignored.push(`o=${settings.o} (with couple=on the orientation follows e)`);
      delete settings.o;
    }
    return {settings, ignored};
  }

  // What the controls show now, as settings; an angle field reads as the program reads it.
  function current(controls) {
    const control = (id) => controls.find((item) => item.id === id) || {};
    const angle = (id) => /^\s*[-+]?[0-9]+\s*$/.test(control(id).text || '') ? parseInt(control(id).text, 10) : 0;
    const checked = (id) => control(id).state === 1;
    return {
      e: angle(EDT1), o: angle(EDT2), mode: checked(CHX1) ? 'advanced' : 'compatible',
      align: ALIGNMENTS[control(CMB1).state] || START.align, couple: checked(CHX3) ? 'on' : 'off',
      animate: checked(CHX4) ? 'e' : checked(CHX5) ? 'o' : '',
    };
  }

  // The clicks and keys that take the controls from what they show to `wanted`.
  function apply(page, wanted) {
    const controls = page.describe();
    if (!controls) return;
    const now = current(controls);
    const place = (id) => controls.find((item) => item.id === id);
    const click = (id, along = 0.5) => {
      const box = place(id);
      page.input.click(Math.round(box.left + (box.right - box.left) * along), Math.round((box.top + box.bottom) / 2));
    };
    const type = (id, value) => {
      // The left of the field: its up-down stands at the right inside it.
      click(id, 0.25);
      page.input.press(VK_A, true);
      for (const character of String(value)) page.input.press(character === '-' ? VK_OEM_MINUS : character.charCodeAt(0));
    };
    if (wanted.couple && wanted.couple !== now.couple) click(CHX3);
    if (wanted.e !== undefined && wanted.e !== now.e) type(EDT1, wanted.e);
    if (wanted.o !== undefined && wanted.o !== now.o) type(EDT2, wanted.o);
    if (wanted.mode && wanted.mode !== now.mode) click(CHX1);
    if (wanted.align && wanted.align !== now.align) {
      click(CMB1);
      page.input.press(VK_HOME);
      for (let row = 0; row < ALIGNMENTS.indexOf(wanted.align); ++row) page.input.press(VK_DOWN);
      page.input.press(VK_RETURN);
    }
    if (wanted.animate && wanted.animate !== now.animate) click(wanted.animate === 'e' ? CHX4 : CHX5);
  }

  // The fragment of what is shown now: only what differs from the start.
  function fragmentOf(settings) {
    const parts = Object.keys(START).filter((key) => settings[key] !== START[key]).map((key) => `${key}=${settings[key]}`);
    return parts.length ? '#' + parts.join('&') : '';
  }

  function start(page) {
    const {settings, ignored} = read(location.hash);
    const note = document.getElementById('link-note');
    if (ignored.length) {
      note.textContent = `Left out of the link: ${ignored.join('; ')}.`;
      note.hidden = false;
    }
    page.onOpen = () => apply(page, settings);

    const button = document.getElementById('link'), address = document.getElementById('link-address');
    button.addEventListener('click', async () => {
      const controls = page.describe();
      if (!controls) return;
      const url = location.href.replace(/#.*$/, '') + fragmentOf(current(controls));
      history.replaceState(null, '', url);
      address.value = url;
      address.hidden = false;
      try {
        await navigator.clipboard.writeText(url);
        button.textContent = 'Copied';
      } catch {
        address.select();
        button.textContent = 'Copy the address beside';
      }
      setTimeout(() => { button.textContent = 'Link to this view'; }, 2000);
    });
  }

  return {start, read};
})();
