// ESLint's recommended rules for the page's JavaScript: the page and its
// worker run in a browser, the build script, tests and bench under Node.
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['**/*.js', '**/*.mjs'],
    languageOptions: {
      ecmaVersion: 'latest',
      sourceType: 'module',
      globals: { ...globals.browser, ...globals.node },
    },
  },
  {
    files: ['page.js'],
    languageOptions: { globals: { QuorvaneCore: 'readonly' } },
  },
  {
    files: ['rom_worker.js'],
    languageOptions: {
      sourceType: 'script',
      globals: { ...globals.worker, QuorvaneRom: 'readonly' },
    },
  },
  {
    files: ['service-worker.js'],
    languageOptions: { sourceType: 'script', globals: globals.serviceworker },
  },
];
