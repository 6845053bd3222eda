// Every language the page speaks, English first: the language a text falls back to.
import en from './en.js';
import cs from './cs.js';
import sk from './sk.js';
import pl from './pl.js';
import hu from './hu.js';
import de from './de.js';

export default { en, cs, sk, pl, hu, de };
