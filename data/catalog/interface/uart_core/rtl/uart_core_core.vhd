-- UART core of the uart_core IP. Generics and ports follow the component file; the
-- generated wrapper instantiates this entity.
--
-- Frames are a start bit, DATA_BITS data bits (least significant first), an optional
-- parity bit and STOP_BITS stop bits, each CLK_FREQ_HZ / BAUD_RATE clocks long.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity uart_core_core is
    generic (
        CLK_FREQ_HZ : positive range 1000000 to 500000000 := 100000000;
        BAUD_RATE   : positive             := 115200;
        DATA_BITS   : positive range 5 to 8 := 8;
        -- "none", "even" or "odd"
        PARITY      : string               := "none";
        STOP_BITS   : positive range 1 to 2 := 1
    );
    port (
        clk      : in  std_logic;
        rst      : in  std_logic;
        -- a word is taken when tx_valid and tx_ready are both high on a clock edge
        tx_data  : in  std_logic_vector(DATA_BITS - 1 downto 0);
        tx_valid : in  std_logic;
        tx_ready : out std_logic;
        -- rx_valid is high for one clock per frame received; rx_error with it when the
        -- parity or a stop bit was wrong
        rx_data  : out std_logic_vector(DATA_BITS - 1 downto 0);
        rx_valid : out std_logic;
        rx_error : out std_logic;
        txd      : out std_logic;
        rxd      : in  std_logic
    );
end entity;

architecture rtl of uart_core_core is
    -- Clocks per bit, rounded to the nearest.
    constant DIVISOR : positive := (CLK_FREQ_HZ + BAUD_RATE / 2) / BAUD_RATE;

    function parity_bits return natural is
    begin
        if PARITY = "none" then
            return 0;
        end if;
        return 1;
    end function;

    constant PAR_BITS : natural  := parity_bits;
    constant TX_BITS  : positive := 1 + DATA_BITS + PAR_BITS + STOP_BITS;
    constant RX_BITS  : positive := DATA_BITS + PAR_BITS + STOP_BITS;

    function parity_of(d : std_logic_vector) return std_logic is
    begin
        if PARITY = "odd" then
            return not (xor d);
        end if;
        return (xor d);
    end function;

    signal tx_shift : std_logic_vector(TX_BITS - 1 downto 0) := (others => '1');
    signal tx_left  : natural range 0 to TX_BITS := 0;
    signal tx_count : natural range 0 to DIVISOR := 0;

    signal rx_sync  : std_logic_vector(1 downto 0) := "11";
    signal rx_busy  : boolean := false;
    signal rx_start : boolean := false;
    signal rx_left  : natural range 0 to RX_BITS := 0;
    signal rx_count : natural range 0 to DIVISOR := 0;
    signal rx_shift : std_logic_vector(RX_BITS - 1 downto 0) := (others => '0');
begin
    assert PARITY = "none" or PARITY = "even" or PARITY = "odd"
        report "uart_core_core: PARITY must be none, even or odd" severity failure;

    tx_ready <= '1' when tx_left = 0 else '0';
    txd      <= tx_shift(0);

    -- Transmitter: the whole frame in a shift register, sent from bit 0.
    process (clk)
        variable frame : std_logic_vector(TX_BITS - 1 downto 0);
    begin
        if rising_edge(clk) then
            if rst = '1' then
                tx_shift <= (others => '1');
                tx_left  <= 0;
                tx_count <= 0;
            elsif tx_left = 0 then
                if tx_valid = '1' then
                    frame := (others => '1');
                    frame(0) := '0';
                    frame(DATA_BITS downto 1) := tx_data;
                    if PAR_BITS /= 0 then
                        frame(DATA_BITS + 1) := parity_of(tx_data);
                    end if;
                    tx_shift <= frame;
                    tx_left  <= TX_BITS;
                    tx_count <= DIVISOR - 1;
                end if;
            elsif tx_count /= 0 then
                tx_count <= tx_count - 1;
            else
                tx_shift <= '1' & tx_shift(TX_BITS - 1 downto 1);
                tx_left  <= tx_left - 1;
                tx_count <= DIVISOR - 1;
            end if;
        end if;
    end process;

    -- Receiver: rxd passes two flip-flops (it comes from another clock domain); a
    -- falling edge starts a frame, and each bit is sampled in its middle.
    process (clk)
        variable got       : std_logic_vector(RX_BITS - 1 downto 0);
        variable parity_ok : boolean;
    begin
        if rising_edge(clk) then
            rx_sync  <= rx_sync(0) & rxd;
            rx_valid <= '0';
            rx_error <= '0';
            if rst = '1' then
                rx_sync <= "11";
                rx_busy <= false;
            elsif not rx_busy then
                if rx_sync(1) = '0' then
                    rx_busy  <= true;
                    rx_start <= true;
                    rx_count <= DIVISOR / 2;
                end if;
            elsif rx_count /= 0 then
                rx_count <= rx_count - 1;
            elsif rx_start then
                -- A start bit gone by its middle was a glitch.
                rx_start <= false;
                rx_busy  <= rx_sync(1) = '0';
                rx_left  <= RX_BITS;
                rx_count <= DIVISOR - 1;
            else
                got      := rx_sync(1) & rx_shift(RX_BITS - 1 downto 1);
                rx_shift <= got;
                rx_left  <= rx_left - 1;
                rx_count <= DIVISOR - 1;
                if rx_left = 1 then
                    parity_ok := PAR_BITS = 0
                                 or got(DATA_BITS) = parity_of(got(DATA_BITS - 1 downto 0));
                    rx_busy  <= false;
                    rx_data  <= got(DATA_BITS - 1 downto 0);
                    rx_valid <= '1';
                    if got(RX_BITS - 1 downto RX_BITS - STOP_BITS) /= (1 to STOP_BITS => '1')
                       or not parity_ok then
                        rx_error <= '1';
                    end if;
                end if;
            end if;
        end if;
    end process;
end architecture;
