// The page's language: English or Russian, the first of the browser's
// languages that the page speaks (English where it speaks none of them), or
// the one chosen with the switch in the header, which is remembered. The
// texts are the tables in lang-en.js and lang-ru.js. An element with
// data-text="KEY" shows the text of KEY; data-label="KEY" gives it that
// text as its accessible name; a link with data-href="KEY" leads to the
// address KEY names (the help texts in the page's language).
import { en } from './lang-en.js';
import { ru } from './lang-ru.js';

/**
 * A text: a string; a text that differs by number (its plural forms, by
 * Intl.PluralRules category); or the table of the reasons a run ends with.
 * @typedef {string | Record<string, string>} Text
 */

/** @type {Record<string, Record<string, Text>>} */
const ZV_TEXTS = { en, ru };

export const Language = {
  current: 'en',
  /** @type {(() => void)[]} */
  listeners: [],
  storageKey: 'zorvandrel-language',

  preferred() {
    try {
      const kept = localStorage.getItem(Language.storageKey);
      if (kept && ZV_TEXTS[kept]) return kept;
    } catch {
      // storage refused: the browser's languages decide
    }
    for (const tag of navigator.languages || [navigator.language]) {
      const base = String(tag).toLowerCase().split('-')[0];
      if (ZV_TEXTS[base]) return base;
    }
    return 'en';
  },

  /**
   * @param {string} language
   * @param {boolean} remember
   */
  set(language, remember) {
    Language.current = ZV_TEXTS[language] ? language : 'en';
    if (remember) {
      try {
        localStorage.setItem(Language.storageKey, Language.current);
      } catch {
        // not remembered where storage is refused
      }
    }
    document.documentElement.lang = Language.current;
    // Each element found has the attribute its selector names.
    for (const element of /** @type {NodeListOf<HTMLElement>} */ (document.querySelectorAll('[data-text]'))) {
      element.textContent = tr(/** @type {string} */ (element.dataset.text));
    }
    for (const element of /** @type {NodeListOf<HTMLElement>} */ (document.querySelectorAll('[data-label]'))) {
      element.setAttribute('aria-label', tr(/** @type {string} */ (element.dataset.label)));
    }
    for (const element of /** @type {NodeListOf<HTMLAnchorElement>} */ (document.querySelectorAll('[data-href]'))) {
      element.href = tr(/** @type {string} */ (element.dataset.href));
    }
    for (const listener of Language.listeners) listener();
  },
};

// The text of `key` in the page's language, with {name} replaced by
// values.name; a text that differs by number is chosen by values.count.
// A table (reasons, or a plural text asked for without a count) comes back
// as it is, though typed as a string: its one reader casts it.
/**
 * @param {string} key
 * @param {Record<string, unknown>} [values]
 * @returns {string}
 */
export function tr(key, values) {
  const table = ZV_TEXTS[Language.current];
  let text = key in table ? table[key] : ZV_TEXTS.en[key];
  if (text !== null && typeof text === 'object' && values && 'count' in values) {
    const form = new Intl.PluralRules(Language.current).select(/** @type {number} */ (values.count));
    text = text[form] || text.other;
  }
  if (typeof text !== 'string' || !values) return /** @type {string} */ (text);
  return text.replace(/\{(\w+)\}/g, (whole, name) => (name in values ? String(values[name]) : whole));
}
