export default async function check(page, context) {}
